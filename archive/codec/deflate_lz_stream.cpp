#include "archive/codec/deflate_lz_stream.h"

#include <bit>
#include <cassert>

namespace dt = deflate_tables;

TPlDfLZStream::TPlDfLZStream(bool deflate64)
    : deflate64_(deflate64), values_(kCapacity), distances_(kCapacity) {
  // 258 lies in the range of symbol 284 as well; the later symbol 285 takes
  // it, in Deflate64 too (there as 3 + 255 in its 16 extra bits).
  for (int s = 0; s < dt::kLengthSymbols; ++s) {
    int base = dt::kLengthBase[s];
    int span = 1 << dt::kLengthExtra[s];
    for (int len = base; len < base + span && len <= dt::kMaxMatch; ++len)
      lengthSymbols_[len] = static_cast<std::uint8_t>(s);
  }
  Reset(0);
}

void TPlDfLZStream::Reset(std::int64_t offset) {
  items_ = 0;
  litLenCounts_.fill(0);
  distCounts_.fill(0);
  litLenCounts_[dt::kEndOfBlock] = 1;
  literals_ = 0;
  matches_ = 0;
  storedSize_ = 0;
  offset_ = offset;
  hasZeroLiteral_ = false;
  wantsEnd_ = false;
}

int TPlDfLZStream::LengthSymbol(int length) const {
  assert(length >= 3 && length <= (deflate64_ ? 65536 : dt::kMaxMatch));
  if (length > dt::kMaxMatch) return dt::kFirstLengthSymbol + dt::kLengthSymbols - 1;
  return dt::kFirstLengthSymbol + lengthSymbols_[length];
}

int TPlDfLZStream::DistanceSymbol(int distance) {
  assert(distance >= 1 && distance <= static_cast<int>(dt::kWindowSize64));
  auto d = static_cast<std::uint32_t>(distance - 1);
  if (d < 4) return static_cast<int>(d);
  int top = std::bit_width(d) - 1;  // index of the highest set bit
  return 2 * top + static_cast<int>((d >> (top - 1)) & 1);
}

void TPlDfLZStream::AddLiteral(std::uint8_t byte) {
  values_[items_] = byte;
  distances_[items_] = 0;
  ++items_;
  ++litLenCounts_[byte];
  ++literals_;
  ++storedSize_;
  if (byte == 0) hasZeroLiteral_ = true;
  Counted();
}

void TPlDfLZStream::AddMatch(int length, int distance) {
  values_[items_] = static_cast<std::uint32_t>(length);
  distances_[items_] = static_cast<std::uint32_t>(distance);
  ++items_;
  ++litLenCounts_[LengthSymbol(length)];
  ++distCounts_[DistanceSymbol(distance)];
  ++matches_;
  storedSize_ += length;
  Counted();
}

void TPlDfLZStream::Counted() {
  if (items_ >= kMaxItems) {
    wantsEnd_ = true;
    return;
  }
  if (items_ % kCheckEvery != 0 || matches_ >= literals_) return;
  // End early when the block already compresses well: the rough size
  // estimate is below half the bytes it covers.
  std::uint64_t extraBits = 0;
  for (int d = 4; d < dt::kDist64Symbols; ++d)
    extraBits += std::uint64_t{distCounts_[d]} * dt::kDistExtra[d];
  std::uint64_t estimate = (matches_ * 13 + literals_ * 8 + extraBits) / 8;
  if (2 * estimate < static_cast<std::uint64_t>(storedSize_)) wantsEnd_ = true;
}
