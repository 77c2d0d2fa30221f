#include "archive/codec/deflate_bit_writer.h"

#include <bit>
#include <cassert>
#include <cstring>

#include "archive/codec/codec_errors.h"

namespace {
constexpr std::size_t kBufferSize = 16384;
}

TPlDfOutBitStream::TPlDfOutBitStream(TStream& dest) : dest_(dest), buffer_(kBufferSize) {}

void TPlDfOutBitStream::SpillWord() {
  if (used_ + 4 > buffer_.size()) EmptyBuffer();
  if constexpr (std::endian::native == std::endian::little) {
    const auto word = static_cast<std::uint32_t>(acc_);
    std::memcpy(buffer_.data() + used_, &word, sizeof word);
    used_ += 4;
  } else {
    for (int i = 0; i < 4; ++i) buffer_[used_++] = static_cast<std::uint8_t>(acc_ >> (8 * i));
  }
  acc_ >>= 32;
  count_ -= 32;
}

void TPlDfOutBitStream::EmptyBuffer() {
  if (used_ == 0) return;
  if (dest_.Write(buffer_.data(), used_) != used_)
    throw EPlInternalDeflateError(
        "could not write to the output atream [TPlDfInBitStream.obsEmptyBuffer]");
  used_ = 0;
}

void TPlDfOutBitStream::AlignToByte() {
  int pad = (8 - (count_ & 7)) & 7;
  count_ += pad;
  // Move whole bytes out of the accumulator so that it is empty afterwards.
  while (count_ > 0) {
    if (used_ == buffer_.size()) EmptyBuffer();
    buffer_[used_++] = static_cast<std::uint8_t>(acc_);
    acc_ >>= 8;
    count_ -= 8;
  }
  count_ = 0;
  acc_ = 0;
}

void TPlDfOutBitStream::WriteBuffer(const void* data, std::size_t size) {
  assert(count_ == 0);
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    if (used_ == buffer_.size()) EmptyBuffer();
    std::size_t n = std::min(size, buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, p, n);
    used_ += n;
    p += n;
    size -= n;
  }
}

void TPlDfOutBitStream::Flush() {
  AlignToByte();
  EmptyBuffer();
}
