#pragma once
// Decoding table of the inflater's literal/length and distance codes.
//
// One lookup of the next kRootBits input bits (least significant first)
// gives everything a symbol needs: for a literal its byte, for a length or
// distance its base value and extra-bit count, so no second table is read.
// Entry layout: bits 0-5 the bits the symbol takes (code length plus extra
// bits), so that the decoder shifts and counts by the entry itself (x86
// masks a 64-bit shift count to 6 bits, and only those 6 bits of the
// decoder's bit count are kept meaningful); the bad flag in bit 6, the
// literal flag in bit 7; the code length alone in bits 8-13, the shift that
// skips the code to reach its extra bits; the end and link flags in bits 14
// and 15; value in bits 16-31 (literal byte, base value, or a link's
// subtable start). Codes longer than the root are rare; their root entry is
// a link whose low bits hold the subtable's index bits. Entries no code
// reaches, and symbols that the variant gives no meaning (lengths 286 and
// 287; distances 30 and 31 in Deflate), are marked bad and reject the stream
// when decoded.

#include <cstdint>
#include <vector>

class TInflateTable {
 public:
  enum class Kind { LitLen, LitLen64, Dist, Dist64 };
  static constexpr std::uint32_t kBad = 0x40;
  static constexpr std::uint32_t kLiteral = 0x80;
  static constexpr std::uint32_t kEnd = 0x4000;
  static constexpr std::uint32_t kLink = 0x8000;

  explicit TInflateTable(Kind kind);

  // Assigns canonical codes to count lengths (0 = absent, at most 15);
  // false when they over-subscribe the code space.
  bool Build(const std::uint8_t* lengths, int count);

  static constexpr int RootBitsOf(Kind kind) {
    return kind == Kind::LitLen || kind == Kind::LitLen64 ? 11 : 8;
  }
  int RootBits() const { return root_; }
  const std::uint32_t* Entries() const { return entries_.data(); }
  // The entry for the next bits, links followed.
  std::uint32_t Lookup(std::uint64_t bits) const {
    std::uint32_t e = entries_[bits & ((1u << root_) - 1)];
    return (e & kLink) ? entries_[LinkTarget(e, bits >> root_)] : e;
  }

  // Code length plus extra bits; a link's subtable index bits.
  static constexpr unsigned BitsUsed(std::uint32_t e) { return e & 0x3F; }
  static constexpr unsigned CodeLength(std::uint32_t e) { return (e >> 8) & 0x3F; }
  static constexpr unsigned ExtraBits(std::uint32_t e) { return BitsUsed(e) - CodeLength(e); }
  static constexpr std::uint32_t Value(std::uint32_t e) { return e >> 16; }
  static constexpr std::size_t LinkTarget(std::uint32_t e, std::uint64_t rest) {
    return Value(e) + (rest & ((std::uint64_t{1} << BitsUsed(e)) - 1));
  }

 private:
  std::uint32_t SymbolEntry(int symbol, unsigned length) const;

  Kind kind_;
  int root_;
  std::vector<std::uint32_t> entries_;
};

// The fixed codes' tables, built once.
const TInflateTable& FixedLitLenTable(bool deflate64);
const TInflateTable& FixedDistTable(bool deflate64);
