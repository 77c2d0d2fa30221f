#pragma once
// Input window of the encoder: the sliding buffer over the source, the
// match finder's tables, and the running checksum.
//
// Positions are indices into the buffer. Every position is inserted exactly
// once and in order. The buffer holds several windows plus look-ahead; once
// the current position nears its end the buffer slides down by a multiple of
// the window, so entries indexed modulo the window keep their slots.
//
// The search's result is defined over the 14-bit hash chain (hash of p =
// bytes p, p+1, p+2): at most the candidate budget of its newest positions
// are examined, and every position counts against the budget whatever its
// bytes. Only positions with the same three bytes can give a match, though,
// so the walk follows a finer chain instead: positions linked by a 17-bit
// hash of the exact three bytes, each link holding its position's three
// bytes, so other values are passed over from the entry the walk loads
// anyway. Each position also keeps its number among the positions of its
// 14-bit hash, so a candidate's place in the coarse chain, and with it the
// end of the budget, is known without walking that chain. A candidate is
// then rejected by the two bytes ending at the current best length before
// the full comparison, which runs eight bytes at a time; the zeroed slack
// after the data keeps those loads inside the buffer. When the latest
// position of the three bytes is already out of the window, no candidate
// can match and there is no walk.

#include <cstdint>
#include <vector>
#include <string.h>

#include "archive/streams.h"

class TPlDfInputWindow {
 public:
  struct Match {
    int length = 0;  // 0: none
    int distance = 0;
  };

  TPlDfInputWindow(TStream& source, std::uint32_t windowBytes, int maxMatch, bool adler32);
  // The window holds the text being compressed, such as a site list: it is
  // wiped.
  ~TPlDfInputWindow() { explicit_bzero(buffer_.data(), buffer_.size()); }
  TPlDfInputWindow(const TPlDfInputWindow&) = delete;
  TPlDfInputWindow& operator=(const TPlDfInputWindow&) = delete;

  // Slides and refills as needed so that the look-ahead holds a longest
  // match (or everything left of the input).
  void Prepare();
  // Bytes from the current position to the end of the input read so far
  // (after Prepare: to the end of the input, or at least a longest match).
  std::size_t Left() const { return dataEnd_ - cur_; }
  std::uint8_t CurrentByte() const { return buffer_[cur_]; }
  // Input offset of the current position.
  std::int64_t Offset() const { return bufferOffset_ + static_cast<std::int64_t>(cur_); }

  // Searches at the current position (inserting it into the hash) for a
  // match longer than pending (0: none pending); ends the search at
  // sufficient bytes and after chainLimit candidates.
  Match Search(int pending, int sufficient, int chainLimit);
  // Moves the current position on by count, inserting the passed positions
  // that are not in the hash yet.
  void Advance(std::size_t count);

  // CRC-32 (complemented) or Adler-32 of everything read from the source.
  std::uint32_t Checksum() const;

 private:
  std::size_t Fill();
  void Slide();
  // Inserts position p into the hash.
  void Insert(std::size_t p);
  int MatchLength(std::size_t candidate, std::size_t p, int limit) const;

  TStream& source_;
  std::size_t window_;
  std::size_t mask_;
  int maxMatch_;
  bool adler32_;
  std::uint32_t checksum_;
  std::vector<std::uint8_t> buffer_;
  std::size_t capacity_;  // data part of the buffer; slack follows
  // Positions inserted per 14-bit hash so far, and each position's number
  // among them (a ring of two windows, so that the position one window back
  // keeps its own).
  std::vector<std::uint32_t> slotCounts_;
  std::vector<std::uint32_t> sequence_;
  // Low 32 bits: the previous position with the same 17-bit hash (kEmpty:
  // none); high 32 bits: the three bytes at the entry's own position.
  std::vector<std::uint64_t> links_;
  std::vector<std::int32_t> latest_;  // by 17-bit hash of the exact three bytes
  std::size_t cur_ = 0;
  std::size_t dataEnd_ = 0;
  std::size_t inserted_ = 0;  // positions below this are in the hash
  std::int64_t bufferOffset_ = 0;
  bool sourceEnded_ = false;
};
