#pragma once
// Input bit stream of the decoder.
//
// Bits are taken least significant first from a 64-bit bit buffer. Refills
// load eight bytes at once while at least eight are buffered (the branch-free
// refill leaves 56..63 valid bits); near the end of the 16 KiB read buffer a
// byte-wise refill reads more from the source. Past the end of the source the
// buffer is padded with zero bytes so that peeks never read out of bounds;
// consuming any padded bit is the "no more compressed data" error.
//
// Bits above the valid count may hold a copy of the next byte's low bits:
// the fast refill ORs those same bits in again, so they never corrupt data.

#include <cstdint>
#include <functional>
#include <vector>

#include "archive/streams.h"

class TPlDfInBitStream {
 public:
  static constexpr std::size_t kBufferSize = 16384;

  // Progress is reported after each read from the source when inputSize > 0.
  TPlDfInBitStream(TStream& source, std::int64_t inputSize, std::function<void(int)> progress);
  // Seeks the source back to just after the last consumed byte.
  ~TPlDfInBitStream();
  TPlDfInBitStream(const TPlDfInBitStream&) = delete;
  TPlDfInBitStream& operator=(const TPlDfInBitStream&) = delete;

  // Makes at least count (<= 56) bits valid, padding with zeros at the end.
  void Ensure(int count);
  std::uint64_t PeekBits(int count);
  // Consumes count bits; where names the operation in the error cause.
  void DiscardBits(int count, const char* where);
  bool ReadBit();
  std::uint32_t ReadBits(int count);
  void AlignToByte();
  void ReadBuffer(std::uint8_t* dest, std::size_t count);
  // Repositions the source right after the consumed bytes.
  void Finish();

  // The decoding loop works on a copy of this state and stores it back.
  struct State {
    std::uint64_t bits;
    int count;
    const std::uint8_t* next;
    const std::uint8_t* end;
  };
  State Save() const;
  void Restore(const State& s);
  // Throws when padding bits have been consumed; where names the operation.
  void CheckNotOverrun(const char* where) const;

 private:
  void RefillBuffer();
  // Counts bytes taken from the source and reports progress.
  void Counted(std::size_t got);
  std::int64_t UnconsumedBytes() const;

  TStream& source_;
  std::vector<std::uint8_t> buffer_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::uint64_t bits_ = 0;
  int count_ = 0;
  int padBytes_ = 0;
  bool sourceEnded_ = false;
  bool finished_ = false;
  std::int64_t totalRead_ = 0;
  std::int64_t inputSize_;
  std::function<void(int)> progress_;
};
