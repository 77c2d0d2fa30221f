#pragma once
// One block's worth of LZ77 items with the symbol counts that size and code
// the block, and the block-end rule.

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <vector>

#include "archive/codec/deflate_tables.h"

class TPlDfLZStream {
 public:
  static constexpr std::size_t kMaxItems = 32768;
  static constexpr std::size_t kCheckEvery = 8192;
  // The rule is acted on before the matcher's next pass, which may add two
  // items; the last bytes of the input add up to two more to the final block.
  static constexpr std::size_t kCapacity = kMaxItems + 4;
  // Items pass kMaxItems one by one, so checking at multiples of
  // kCheckEvery sees it.
  static_assert(kMaxItems % kCheckEvery == 0);

  explicit TPlDfLZStream(bool deflate64);

  // Starts an empty block at the given input offset; counts end-of-block once.
  void Reset(std::int64_t offset);
  // Called once per item, so inline; the block-end rule is worked out only
  // where it can change.
  void AddLiteral(std::uint8_t byte) {
    values_[items_] = byte;
    distances_[items_] = 0;
    ++items_;
    ++litLenCounts_[byte];
    ++literals_;
    ++storedSize_;
    if (byte == 0) hasZeroLiteral_ = true;
    if (items_ % kCheckEvery == 0) Counted();
  }
  void AddMatch(int length, int distance) {
    values_[items_] = static_cast<std::uint32_t>(length);
    distances_[items_] = static_cast<std::uint32_t>(distance);
    ++items_;
    ++litLenCounts_[LengthSymbol(length)];
    ++distCounts_[DistanceSymbol(distance)];
    ++matches_;
    storedSize_ += length;
    if (items_ % kCheckEvery == 0) Counted();
  }
  // The block-end rule, asked after each item.
  bool WantsEnd() const { return wantsEnd_; }

  // Length symbol and extra value of a match length; distance likewise.
  int LengthSymbol(int length) const {
    assert(length >= 3 && length <= (deflate64_ ? 65536 : deflate_tables::kMaxMatch));
    if (length > deflate_tables::kMaxMatch)
      return deflate_tables::kFirstLengthSymbol + deflate_tables::kLengthSymbols - 1;
    return deflate_tables::kFirstLengthSymbol + lengthSymbols_[length];
  }
  static int DistanceSymbol(int distance) {
    assert(distance >= 1 && distance <= static_cast<int>(deflate_tables::kWindowSize64));
    auto d = static_cast<std::uint32_t>(distance - 1);
    if (d < 4) return static_cast<int>(d);
    int top = std::bit_width(d) - 1;  // index of the highest set bit
    return 2 * top + static_cast<int>((d >> (top - 1)) & 1);
  }

  std::size_t Items() const { return items_; }
  // Item i: distance 0 for a literal (value is the byte), else a match.
  std::uint32_t Value(std::size_t i) const { return values_[i]; }
  std::uint32_t Distance(std::size_t i) const { return distances_[i]; }
  const std::array<std::uint32_t, deflate_tables::kLitLenSymbols>& LitLenCounts() const {
    return litLenCounts_;
  }
  const std::array<std::uint32_t, deflate_tables::kDist64Symbols>& DistCounts() const {
    return distCounts_;
  }
  std::int64_t StoredSize() const { return storedSize_; }
  std::int64_t Offset() const { return offset_; }
  bool HasZeroLiteral() const { return hasZeroLiteral_; }
  bool Deflate64() const { return deflate64_; }

 private:
  // The block-end rule, at every kCheckEvery items.
  void Counted();

  bool deflate64_;
  std::vector<std::uint32_t> values_;
  std::vector<std::uint32_t> distances_;
  std::size_t items_ = 0;
  std::array<std::uint32_t, deflate_tables::kLitLenSymbols> litLenCounts_{};
  std::array<std::uint32_t, deflate_tables::kDist64Symbols> distCounts_{};
  std::array<std::uint8_t, deflate_tables::kMaxMatch + 1> lengthSymbols_{};
  std::size_t literals_ = 0;
  std::size_t matches_ = 0;
  std::int64_t storedSize_ = 0;
  std::int64_t offset_ = 0;
  bool hasZeroLiteral_ = false;
  bool wantsEnd_ = false;
};
