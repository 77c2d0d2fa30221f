#pragma once
// One block's worth of LZ77 items with the symbol counts that size and code
// the block, and the block-end rule.

#include <array>
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

  explicit TPlDfLZStream(bool deflate64);

  // Starts an empty block at the given input offset; counts end-of-block once.
  void Reset(std::int64_t offset);
  void AddLiteral(std::uint8_t byte);
  void AddMatch(int length, int distance);
  // The block-end rule, asked after each item.
  bool WantsEnd() const { return wantsEnd_; }

  // Length symbol and extra value of a match length; distance likewise.
  int LengthSymbol(int length) const;
  static int DistanceSymbol(int distance);

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
