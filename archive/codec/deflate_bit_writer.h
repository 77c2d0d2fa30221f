#pragma once
// Output bit stream of the encoder: fields go least significant bit first
// into a 64-bit accumulator that is emptied 32 bits at a time into a 16 KiB
// buffer, which is written to the destination when full.

#include <cstdint>
#include <vector>

#include "archive/streams.h"

class TPlDfOutBitStream {
 public:
  explicit TPlDfOutBitStream(TStream& dest);

  // Appends the low count (1..32) bits of value.
  void WriteBits(std::uint32_t value, int count) {
    acc_ |= std::uint64_t{value} << count_;
    count_ += count;
    if (count_ >= 32) SpillWord();
  }
  // Pads to a byte boundary with zero bits.
  void AlignToByte();
  // Appends whole bytes; the stream must be byte-aligned.
  void WriteBuffer(const void* data, std::size_t size);
  // Writes everything held, padding the last byte.
  void Flush();

 private:
  void SpillWord();
  void EmptyBuffer();

  TStream& dest_;
  std::vector<std::uint8_t> buffer_;
  std::size_t used_ = 0;
  std::uint64_t acc_ = 0;
  int count_ = 0;
};
