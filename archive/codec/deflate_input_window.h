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
// so the walk follows a finer chain instead: positions linked by a hash of
// the exact three bytes. Each position also keeps its number among the
// positions of its 14-bit hash, so a candidate's place in the coarse chain,
// and with it the end of the budget, is known without walking that chain.
//
// Why the walk is fast: it is bound by the latency of loading one link after
// another, so a link is a 16-bit distance back to the previous position of
// its chain (0: none within a window) and the chain of a 32 KiB window is 64
// KiB; the positions' numbers sit apart and are read only for candidates.
// Links are relative, so a slide of the buffer leaves them as they are; the
// numbers wrap at 16 bits, which cannot change a rank since no candidate is
// 65,536 positions back. Once the best length reaches 7, only candidates
// whose first 8 bytes equal can do better, so the walk goes on along a second
// chain linking positions by a hash of their first 8 bytes; on the site list
// that skips most candidates, which share 6 or 7 bytes with the current
// position. The second chain is skipped while long matches are inserted and
// caught up (over the last window only) by the first search that needs it.
// Either walk also follows a second chain of its kind side by side: the one
// of the key that ends just past the best length, which every candidate
// that can do better must equal too (deflate_chain_walk.h). Where the
// candidates share the best length and no more, as the lines of a site
// list do, that chain is far shorter and ends the walk early.
// The search walks before it inserts its own position, so the link of the
// position exactly one window back is still its own. A candidate's key bytes
// are read from the window, and it is rejected by the four bytes ending at
// the current best length before the full comparison, which runs eight bytes
// at a time; the zeroed slack after the data keeps those loads inside the
// buffer. When the latest position of the three bytes is already out of the
// window, no candidate can match and there is no walk.

#include <algorithm>
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
  // match (or everything left of the input). Called once per search, so the
  // common case of neither is decided here, inline.
  void Prepare() {
    if (cur_ >= slideAt_ || (!sourceEnded_ && dataEnd_ - cur_ < refillBelow_)) SlideOrFill();
  }
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
  // that are not in the hash yet. count is at most a match's length: the
  // last two bytes read so far cannot be hashed yet, and passing them would
  // leave them out of the hash for good.
  void Advance(std::size_t count) {
    const std::size_t target = cur_ + count;
    // Only positions with three bytes can be hashed; later ones start no match.
    const std::size_t last = std::min(target, dataEnd_ >= 2 ? dataEnd_ - 2 : 0);
    if (inserted_ < last) Insert(inserted_, last);
    inserted_ = std::max(inserted_, target);
    cur_ = target;
  }

  // CRC-32 (complemented) or Adler-32 of everything read from the source.
  std::uint32_t Checksum() const;

 private:
  std::size_t Fill();
  void Slide();
  void SlideOrFill();
  // Inserts positions from..to-1 into the hash, in order.
  void Insert(std::size_t from, std::size_t to);
  // A position's slots in the tables its insertion updates.
  struct Slots {
    std::uint16_t* count;
    std::int32_t* latest;
    std::int32_t* latestLong;
  };
  Slots SlotsOf(std::size_t p);
  void InsertAt(std::size_t p, const Slots& slots);
  // The longest match at p as Search defines it, before p is inserted.
  Match Longest(std::size_t p, const Slots& slots, int pending, int sufficient, int chainLimit);
  // Inserts the positions before p that the longer-prefix chain lacks.
  void CatchUpLong(std::size_t p);

  TStream& source_;
  std::size_t window_;
  std::size_t mask_;
  int maxMatch_;
  bool adler32_;
  std::uint32_t checksum_;
  std::vector<std::uint8_t> buffer_;
  std::size_t capacity_;  // data part of the buffer; slack follows
  std::size_t slideAt_;  // the buffer slides once the current position reaches this
  // Hashing a position reads up to eight bytes from it: the buffer is
  // refilled while fewer than this are left, so that they are real input
  // except at the input's end.
  std::size_t refillBelow_;
  // Positions inserted per 14-bit hash so far (wrapping at 16 bits).
  std::vector<std::uint16_t> slotCounts_;
  // By position modulo the window: the distance back to the previous
  // position with the same finer hash (0: none within a window), and the
  // position's number among those of its 14-bit hash.
  std::vector<std::uint16_t> links_;
  std::vector<std::uint16_t> numbers_;
  std::vector<std::uint16_t> longLinks_;  // likewise by the hash of the longer prefix
  std::vector<std::int32_t> latest_;  // by the finer hash of the exact three bytes
  std::vector<std::int32_t> latestLong_;  // by the hash of the longer prefix
  std::size_t cur_ = 0;
  std::size_t dataEnd_ = 0;
  std::size_t inserted_ = 0;  // positions below this are in the hash
  // Positions below this are in the longer-prefix chain, which is kept up
  // during short matches and caught up by a search that reaches it after a
  // long one: runs of long matches seldom need it.
  std::size_t longInserted_ = 0;
  // The slots of the position after the last search, worked out by it.
  static constexpr std::size_t kNoPosition = ~std::size_t{0};
  Slots following_{};
  std::size_t followingAt_ = kNoPosition;
  std::int64_t bufferOffset_ = 0;
  bool sourceEnded_ = false;
};
