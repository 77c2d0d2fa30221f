#include "archive/codec/inflate_table.h"

#include <algorithm>
#include <array>

#include "archive/codec/deflate_tables.h"
#include "archive/codec/huffman_tree.h"

namespace dt = deflate_tables;

namespace {

constexpr std::uint32_t Entry(std::uint32_t value, unsigned flags, unsigned length,
                              unsigned extra) {
  return value << 16 | flags | length << 8 | (length + extra);
}
constexpr std::uint32_t LinkEntry(std::uint32_t start, unsigned indexBits) {
  return start << 16 | TInflateTable::kLink | indexBits;
}
constexpr std::uint32_t kBadEntry = Entry(0, TInflateTable::kBad, 0, 0);

static_assert(dt::kMaxMatch64 - 3 < (1 << 16) && dt::kDistBase[31] < (1 << 16),
              "base values fit the value field");
static_assert(dt::kMaxCodeLength + dt::kLength64Extra[28] <= 0x3F &&
                  dt::kMaxCodeLength + dt::kDistExtra[31] <= 0x3F,
              "a code with its extra bits fits the 6-bit field the decoder shifts by");
static_assert(dt::kMaxCodeLength < (1 << 4),
              "the code length field's top bits stay clear, so a shift by it needs no mask");
static_assert((TInflateTable::kBad | TInflateTable::kLiteral) == 0xC0 &&
                  (TInflateTable::kEnd | TInflateTable::kLink) == 0xC000,
              "flags sit beside the 6-bit fields, where counting by the entry ignores them");
// Subtable starts fit in the value field.
static_assert((1 << 11) * ((1 << (dt::kMaxCodeLength - 11)) + 1) < (1 << 16));

}  // namespace

TInflateTable::TInflateTable(Kind kind) : kind_(kind), root_(RootBitsOf(kind)) {
  entries_.assign(std::size_t{1} << root_, kBadEntry);
}

std::uint32_t TInflateTable::SymbolEntry(int s, unsigned length) const {
  if (kind_ == Kind::Dist || kind_ == Kind::Dist64) {
    const int last = kind_ == Kind::Dist ? dt::kDistSymbols - 1 : dt::kDist64Symbols - 1;
    if (s > last) return Entry(0, kBad, length, 0);
    return Entry(dt::kDistBase[s], 0, length, dt::kDistExtra[s]);
  }
  if (s < dt::kEndOfBlock) return Entry(static_cast<std::uint32_t>(s), kLiteral, length, 0);
  if (s == dt::kEndOfBlock) return Entry(0, kEnd, length, 0);
  if (s > dt::kLastLengthSymbol) return Entry(0, kBad, length, 0);
  const int i = s - dt::kFirstLengthSymbol;
  const bool wide = kind_ == Kind::LitLen64;
  return Entry(wide ? dt::kLength64Base[i] : dt::kLengthBase[i], 0, length,
               wide ? dt::kLength64Extra[i] : dt::kLengthExtra[i]);
}

bool TInflateTable::Build(const std::uint8_t* lengths, int count) {
  constexpr int kLongest = dt::kMaxCodeLength;
  std::array<int, kLongest + 1> perLength{};
  for (int s = 0; s < count; ++s) {
    if (lengths[s] > kLongest) return false;
    ++perLength[lengths[s]];
  }
  // Canonical first codes per length; codes left going negative means the
  // lengths over-subscribe the code space.
  std::array<std::uint32_t, kLongest + 1> next{};
  int left = 1;
  for (int len = 1; len <= kLongest; ++len) {
    left = (left << 1) - perLength[len];
    if (left < 0) return false;
    next[len] = (next[len - 1] + static_cast<std::uint32_t>(perLength[len - 1] * (len > 1)))
                << 1;
  }
  const std::size_t size = std::size_t{1} << root_;
  const std::uint32_t mask = static_cast<std::uint32_t>(size - 1);
  entries_.assign(size, kBadEntry);
  std::array<std::uint32_t, dt::kFixedLitLenSymbols> codes{};
  std::array<std::uint8_t, std::size_t{1} << 11> subBits{};
  // The root prefixes that longer codes share, in the order first seen.
  std::array<std::uint16_t, dt::kFixedLitLenSymbols> prefixes;
  std::size_t prefixCount = 0;
  for (int s = 0; s < count; ++s) {
    const int len = lengths[s];
    if (len == 0) continue;
    codes[s] = ReverseBits(next[len]++, len);
    if (len > root_) {
      std::uint8_t& bits = subBits[codes[s] & mask];
      if (bits == 0) prefixes[prefixCount++] = static_cast<std::uint16_t>(codes[s] & mask);
      bits = static_cast<std::uint8_t>(std::max(static_cast<int>(bits), len - root_));
      continue;
    }
    const std::uint32_t e = SymbolEntry(s, static_cast<unsigned>(len));
    for (std::size_t i = codes[s]; i < size; i += std::size_t{1} << len) entries_[i] = e;
  }
  // One subtable per root prefix shared by longer codes, sized for the
  // longest of them; its entries hold the whole code length.
  for (std::size_t k = 0; k < prefixCount; ++k) {
    const std::uint16_t prefix = prefixes[k];
    const auto start = static_cast<std::uint32_t>(entries_.size());
    entries_.resize(entries_.size() + (std::size_t{1} << subBits[prefix]), kBadEntry);
    entries_[prefix] = LinkEntry(start, subBits[prefix]);
  }
  for (int s = 0; s < count; ++s) {
    const int len = lengths[s];
    if (len <= root_) continue;
    const std::uint32_t link = entries_[codes[s] & mask];
    const std::size_t span = std::size_t{1} << BitsUsed(link);
    const std::uint32_t e = SymbolEntry(s, static_cast<unsigned>(len));
    for (std::size_t i = codes[s] >> root_; i < span; i += std::size_t{1} << (len - root_))
      entries_[Value(link) + i] = e;
  }
  return true;
}

namespace {

TInflateTable MakeFixed(TInflateTable::Kind kind) {
  const bool litLen = kind == TInflateTable::Kind::LitLen || kind == TInflateTable::Kind::LitLen64;
  std::array<std::uint8_t, dt::kFixedLitLenSymbols> lengths{};
  const int count = litLen ? dt::kFixedLitLenSymbols : dt::kDist64Symbols;
  for (int s = 0; s < count; ++s)
    lengths[s] = static_cast<std::uint8_t>(litLen ? dt::FixedLitLenLength(s) : dt::kFixedDistLength);
  TInflateTable table(kind);
  table.Build(lengths.data(), count);
  return table;
}

}  // namespace

const TInflateTable& FixedLitLenTable(bool deflate64) {
  static const TInflateTable plain = MakeFixed(TInflateTable::Kind::LitLen);
  static const TInflateTable wide = MakeFixed(TInflateTable::Kind::LitLen64);
  return deflate64 ? wide : plain;
}

const TInflateTable& FixedDistTable(bool deflate64) {
  static const TInflateTable plain = MakeFixed(TInflateTable::Kind::Dist);
  static const TInflateTable wide = MakeFixed(TInflateTable::Kind::Dist64);
  return deflate64 ? wide : plain;
}
