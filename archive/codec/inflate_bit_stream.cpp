#include "archive/codec/inflate_bit_stream.h"

#include <cassert>
#include <cmath>
#include <cstring>

#include "archive/codec/codec_errors.h"

TPlDfInBitStream::TPlDfInBitStream(TStream& source, std::int64_t inputSize,
                                   std::function<void(int)> progress)
    : source_(source),
      buffer_(kBufferSize),
      inputSize_(inputSize),
      progress_(std::move(progress)) {}

TPlDfInBitStream::~TPlDfInBitStream() {
  if (finished_) return;
  // On an error path the position is a courtesy; a failing seek must not
  // replace the error that is already on its way.
  try {
    Finish();
  } catch (...) {
  }
}

void TPlDfInBitStream::RefillBuffer() {
  std::size_t got = source_.Read(buffer_.data(), buffer_.size());
  pos_ = 0;
  len_ = got;
  if (got == 0) {
    sourceEnded_ = true;
    return;
  }
  Counted(got);
}

void TPlDfInBitStream::Counted(std::size_t got) {
  totalRead_ += static_cast<std::int64_t>(got);
  if (progress_ && inputSize_ > 0)
    progress_(static_cast<int>(std::lround(totalRead_ * 100.0 / inputSize_)));
}

void TPlDfInBitStream::Ensure(int count) {
  assert(count <= 56);
  if (count_ >= count) return;
  bits_ &= (std::uint64_t{1} << count_) - 1;  // drop stale copies above the valid bits
  while (count_ < count) {
    if (pos_ == len_ && !sourceEnded_) RefillBuffer();
    if (pos_ < len_) {
      bits_ |= std::uint64_t{buffer_[pos_++]} << count_;
    } else {
      ++padBytes_;  // a zero byte past the end of the source
    }
    count_ += 8;
  }
}

std::uint64_t TPlDfInBitStream::PeekBits(int count) {
  assert(count >= 1 && count <= 56);
  Ensure(count);
  return bits_ & ((std::uint64_t{1} << count) - 1);
}

void TPlDfInBitStream::CheckNotOverrun(const char* where) const {
  if (count_ < padBytes_ * 8) FailInflate(where);
}

void TPlDfInBitStream::DiscardBits(int count, const char* where) {
  assert(count >= 0 && count <= count_);
  bits_ >>= count;
  count_ -= count;
  CheckNotOverrun(where);
}

bool TPlDfInBitStream::ReadBit() {
  bool bit = PeekBits(1) != 0;
  DiscardBits(1, "no more compressed data in stream [TPlDfInBitStream.ReadBit]");
  return bit;
}

std::uint32_t TPlDfInBitStream::ReadBits(int count) {
  assert(count >= 1 && count <= 16);
  auto value = static_cast<std::uint32_t>(PeekBits(count));
  DiscardBits(count, "no more compressed data in stream [TPlDfInBitStream.ReadBits]");
  return value;
}

void TPlDfInBitStream::AlignToByte() {
  int drop = count_ & 7;
  bits_ >>= drop;
  count_ -= drop;
}

void TPlDfInBitStream::ReadBuffer(std::uint8_t* dest, std::size_t count) {
  assert((count_ & 7) == 0);
  static constexpr const char* kCause =
      "no more compressed data in stream [TPlDfInBitStream.ReadBuffer]";
  // Whole bytes still in the bit buffer come first.
  while (count > 0 && count_ > 0) {
    *dest++ = static_cast<std::uint8_t>(bits_);
    bits_ >>= 8;
    count_ -= 8;
    --count;
    CheckNotOverrun(kCause);
  }
  while (count > 0) {
    if (pos_ == len_ && count >= buffer_.size() && !sourceEnded_) {
      // Large stored data goes straight from the source to its destination.
      std::size_t got = source_.Read(dest, count);
      if (got == 0) FailInflate(kCause);
      Counted(got);
      dest += got;
      count -= got;
      continue;
    }
    if (pos_ == len_) {
      if (sourceEnded_) FailInflate(kCause);
      RefillBuffer();
      continue;
    }
    std::size_t n = std::min(count, len_ - pos_);
    std::memcpy(dest, buffer_.data() + pos_, n);
    pos_ += n;
    dest += n;
    count -= n;
  }
}

std::int64_t TPlDfInBitStream::UnconsumedBytes() const {
  int realBits = count_ - padBytes_ * 8;
  if (realBits < 0) realBits = 0;
  return static_cast<std::int64_t>(len_ - pos_) + realBits / 8;
}

void TPlDfInBitStream::Finish() {
  finished_ = true;
  std::int64_t back = UnconsumedBytes();
  if (back > 0) source_.Seek(-back, SeekOrigin::Current);
}

TPlDfInBitStream::State TPlDfInBitStream::Save() const {
  return State{bits_, count_, buffer_.data() + pos_, buffer_.data() + len_};
}

void TPlDfInBitStream::Restore(const State& s) {
  bits_ = s.bits;
  count_ = s.count;
  pos_ = static_cast<std::size_t>(s.next - buffer_.data());
}
