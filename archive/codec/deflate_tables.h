#pragma once
// The standard Deflate tables (length and distance bases with their extra-bit
// counts, the order of the code-length code lengths), extended for Deflate64:
// length symbol 285 becomes base 3 with 16 extra bits and distance symbols 30
// and 31 cover distances up to 65,536.

#include <array>
#include <cstddef>
#include <cstdint>

namespace deflate_tables {

constexpr int kEndOfBlock = 256;
constexpr int kFirstLengthSymbol = 257;
constexpr int kLastLengthSymbol = 285;
constexpr int kLengthSymbols = kLastLengthSymbol - kFirstLengthSymbol + 1;
constexpr int kLitLenSymbols = kLastLengthSymbol + 1;
constexpr int kFixedLitLenSymbols = 288;  // 286 and 287 have fixed codes but no meaning
constexpr int kDistSymbols = 30;
constexpr int kDist64Symbols = 32;
constexpr int kCodeLenSymbols = 19;
constexpr int kMaxCodeLength = 15;
constexpr int kMaxCodeLenCodeLength = 7;
constexpr int kMaxMatch = 258;
constexpr int kMaxMatch64 = 65538;
// The farthest a back-reference reaches.
constexpr std::size_t kWindowSize = 32768;
constexpr std::size_t kWindowSize64 = 65536;
// LEN of a stored block is 16 bits.
constexpr std::size_t kMaxStoredBlock = 65535;

// A dynamic block's header holds its code counts less these.
constexpr int kMinLitLenCodes = 257;
constexpr int kMinDistCodes = 1;
constexpr int kMinCodeLenCodes = 4;

// The fixed codes of RFC 1951 section 3.2.6.
constexpr int FixedLitLenLength(int symbol) {
  return symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
}
constexpr int kFixedDistLength = 5;

// Symbols 16 to 18 of the code-length code stand for runs: their extra bits
// plus a base give the run length.
struct RepeatCode {
  int symbol;
  int extraBits;
  int base;
  constexpr int Longest() const { return base + (1 << extraBits) - 1; }
};
constexpr RepeatCode kRepeatPrevious = {16, 2, 3};    // the previous length 3..6 times
constexpr RepeatCode kRepeatZeros = {17, 3, 3};       // 3..10 zeros
constexpr RepeatCode kRepeatZerosLong = {18, 7, 11};  // 11..138 zeros
constexpr RepeatCode RepeatCodeOf(int symbol) {
  return symbol == kRepeatPrevious.symbol ? kRepeatPrevious
         : symbol == kRepeatZeros.symbol  ? kRepeatZeros
                                          : kRepeatZerosLong;
}
// The shortest run a repeat code stands for.
constexpr int kShortestRepeat = 3;
static_assert(kRepeatPrevious.base == kShortestRepeat && kRepeatZeros.base == kShortestRepeat);
static_assert(kRepeatZerosLong.base == kRepeatZeros.Longest() + 1, "zero runs follow on");
static_assert(kRepeatZerosLong.symbol == kCodeLenSymbols - 1);

constexpr std::array<std::uint16_t, kLengthSymbols> kLengthBase = {
    3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
    31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, kLengthSymbols> kLengthExtra = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Deflate64 differs only in symbol 285.
constexpr std::array<std::uint16_t, kLengthSymbols> kLength64Base = [] {
  auto t = kLengthBase;
  t[kLengthSymbols - 1] = 3;
  return t;
}();
constexpr std::array<std::uint8_t, kLengthSymbols> kLength64Extra = [] {
  auto t = kLengthExtra;
  t[kLengthSymbols - 1] = 16;
  return t;
}();

constexpr std::array<std::uint32_t, kDist64Symbols> kDistBase = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
    49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
    2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<std::uint8_t, kDist64Symbols> kDistExtra = {
    0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

constexpr std::array<std::uint8_t, kCodeLenSymbols> kCodeLenOrder = {
    16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

static_assert(kDistBase[29] + (1u << kDistExtra[29]) - 1 == kWindowSize, "Deflate window");
static_assert(kDistBase[31] + (1u << kDistExtra[31]) - 1 == kWindowSize64, "Deflate64 window");
static_assert(kLengthBase[27] + (1u << kLengthExtra[27]) - 1 == kMaxMatch, "longest Deflate match");
static_assert(kLength64Base[28] + (1u << kLength64Extra[28]) - 1 == kMaxMatch64,
              "longest Deflate64 match");

}  // namespace deflate_tables
