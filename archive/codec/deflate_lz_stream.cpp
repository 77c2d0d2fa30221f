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

void TPlDfLZStream::Counted() {
  if (items_ >= kMaxItems) {
    wantsEnd_ = true;
    return;
  }
  if (matches_ >= literals_) return;
  // End early when the block already compresses well: the rough size
  // estimate is below half the bytes it covers.
  std::uint64_t extraBits = 0;
  for (int d = 4; d < dt::kDist64Symbols; ++d)
    extraBits += std::uint64_t{distCounts_[d]} * dt::kDistExtra[d];
  std::uint64_t estimate = (matches_ * 13 + literals_ * 8 + extraBits) / 8;
  if (2 * estimate < static_cast<std::uint64_t>(storedSize_)) wantsEnd_ = true;
}
