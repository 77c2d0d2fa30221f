#include "archive/codec/deflate_input_window.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "archive/codec/adler32.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate_chain_walk.h"
#include "archive/codec/deflate_window_keys.h"

using namespace deflate_window;

namespace {

// Insertions of more positions than this at once (the inside of a long
// match) leave the longer-prefix chain to be caught up by a search.
constexpr std::size_t kEagerLong = 32;
constexpr std::size_t kSlack = 16;
// The buffer slides by this many windows at once, so that each slide moves
// only the last window and the look-ahead down while many windows of input
// pass between slides.
constexpr std::size_t kSlideWindows = 6;

// Makes p the latest position of its chain; returns the distance back to the
// one before (0 when that is a window or more back).
std::uint16_t BackTo(std::size_t p, std::int32_t& latest, std::size_t window) {
  const std::int64_t back = static_cast<std::int64_t>(p) - latest;
  latest = static_cast<std::int32_t>(p);
  return back < static_cast<std::int64_t>(window) ? static_cast<std::uint16_t>(back) : 0;
}

}  // namespace

TPlDfInputWindow::TPlDfInputWindow(TStream& source, std::uint32_t windowBytes, int maxMatch,
                                   bool adler32)
    : source_(source),
      window_(windowBytes),
      mask_(windowBytes - 1),
      maxMatch_(maxMatch),
      adler32_(adler32),
      checksum_(adler32 ? 1u : 0xFFFFFFFFu),
      capacity_((kSlideWindows + 2) * window_ + 2 * static_cast<std::size_t>(maxMatch)),
      slideAt_((kSlideWindows + 1) * window_),
      refillBelow_(static_cast<std::size_t>(maxMatch) + 2 + 8),
      slotCounts_(kHashSize, 0),
      links_(window_, 0),
      numbers_(window_, 0),
      longLinks_(window_, 0),
      latest_(std::size_t{1} << kLatestBits, kEmpty),
      latestLong_(std::size_t{1} << kLongBits, kEmpty) {
  buffer_.assign(capacity_ + kSlack, 0);
}

std::size_t TPlDfInputWindow::Fill() {
  std::size_t total = 0;
  while (!sourceEnded_ && dataEnd_ < capacity_) {
    std::size_t got = source_.Read(buffer_.data() + dataEnd_, capacity_ - dataEnd_);
    if (got == 0) {
      sourceEnded_ = true;
      break;
    }
    const std::uint8_t* fresh = buffer_.data() + dataEnd_;
    checksum_ =
        adler32_ ? Adler32Update(checksum_, fresh, got) : Crc32Update(checksum_, fresh, got);
    dataEnd_ += got;
    total += got;
  }
  return total;
}

void TPlDfInputWindow::Slide() {
  // A multiple of the window keeps every chain entry in its slot.
  const std::size_t shift = kSlideWindows * window_;
  std::memmove(buffer_.data(), buffer_.data() + shift, dataEnd_ - shift);
  const auto delta = static_cast<std::int32_t>(shift);
  auto down = [delta](std::int32_t& v) { v = v >= delta ? v - delta : kEmpty; };
  std::for_each(latest_.begin(), latest_.end(), down);
  std::for_each(latestLong_.begin(), latestLong_.end(), down);
  followingAt_ = kNoPosition;
  cur_ -= shift;
  dataEnd_ -= shift;
  inserted_ -= shift;
  longInserted_ = longInserted_ > shift ? longInserted_ - shift : 0;
  bufferOffset_ += static_cast<std::int64_t>(shift);
}

void TPlDfInputWindow::SlideOrFill() {
  if (cur_ >= slideAt_) Slide();
  if (!sourceEnded_ && dataEnd_ - cur_ < refillBelow_) Fill();
}

inline TPlDfInputWindow::Slots TPlDfInputWindow::SlotsOf(std::size_t p) {
  // One load gives every byte the three hashes read.
  const std::uint64_t bytes = Load64(buffer_.data() + p);
  const auto three = static_cast<std::uint32_t>(bytes & 0xFFFFFF);
  return {&slotCounts_[HeadSlot(three)], &latest_[LatestSlot(three)],
          &latestLong_[LongSlot(bytes & kLongMask)]};
}

inline void TPlDfInputWindow::InsertAt(std::size_t p, const Slots& slots) {
  const std::size_t slot = p & mask_;
  *slots.count = static_cast<std::uint16_t>(*slots.count + 1);
  numbers_[slot] = *slots.count;
  links_[slot] = BackTo(p, *slots.latest, window_);
  if (longInserted_ != p) return;
  longLinks_[slot] = BackTo(p, *slots.latestLong, window_);
  longInserted_ = p + 1;
}

void TPlDfInputWindow::Insert(std::size_t from, std::size_t to) {
  // The longer-prefix chain is kept up as it goes while matches are short;
  // a long match's positions are left for a search that needs them.
  const bool withLong = longInserted_ == from && to - from <= kEagerLong;
  // The tables' addresses are held in locals: the stores below would
  // otherwise make the compiler reload them for every position.
  const std::uint8_t* const base = buffer_.data();
  std::uint16_t* const counts = slotCounts_.data();
  std::uint16_t* const links = links_.data();
  std::uint16_t* const numbers = numbers_.data();
  std::uint16_t* const longLinks = longLinks_.data();
  std::int32_t* const latest = latest_.data();
  std::int32_t* const latestLong = latestLong_.data();
  const std::size_t mask = mask_;
  const std::size_t window = window_;
  // The 14-bit hash rolls: each position's shifts out the byte before it.
  std::size_t head = HeadSlot(Load24(base + from));
  for (std::size_t p = from; p < to; ++p) {
    const std::uint64_t bytes = Load64(base + p);
    std::uint16_t& count = counts[head];
    count = static_cast<std::uint16_t>(count + 1);
    const std::size_t slot = p & mask;
    numbers[slot] = count;
    links[slot] = BackTo(p, latest[LatestSlot(bytes & 0xFFFFFF)], window);
    if (withLong) longLinks[slot] = BackTo(p, latestLong[LongSlot(bytes & kLongMask)], window);
    head = (head << 5 ^ (bytes >> 24 & 0xFF)) & (kHashSize - 1);
  }
  if (withLong) longInserted_ = to;
}

void TPlDfInputWindow::CatchUpLong(std::size_t p) {
  // Only positions within a window of p can be candidates; older ones left
  // out of the chain leave its slots as out of reach as they would be.
  std::size_t from = std::max(longInserted_, p > window_ ? p - window_ : 0);
  const std::uint8_t* const base = buffer_.data();
  std::uint16_t* const longLinks = longLinks_.data();
  std::int32_t* const latestLong = latestLong_.data();
  for (; from < p; ++from)
    longLinks[from & mask_] = BackTo(from, latestLong[LongSlot(LoadLong(base + from))], window_);
  longInserted_ = std::max(longInserted_, p);
}

TPlDfInputWindow::Match TPlDfInputWindow::Search(int pending, int sufficient, int chainLimit) {
  const std::size_t p = cur_;
  // The next search is almost always one byte on: its table slots are
  // worked out now, kept for it, and fetched (the latest-position tables are
  // mostly out of the first-level cache). The bytes read lie inside the
  // buffer, whose zeroed slack follows the data; they are input that no
  // refill changes, or past the input's end, where only a slide changes them
  // and so drops the kept slots.
  const Slots slots = p == followingAt_ ? following_ : SlotsOf(p);
  following_ = SlotsOf(p + 1);
  followingAt_ = p + 1;
  __builtin_prefetch(following_.latest);
  __builtin_prefetch(following_.count);
  __builtin_prefetch(following_.latestLong);
  const Match found = Longest(p, slots, pending, sufficient, chainLimit);
  InsertAt(p, slots);
  inserted_ = p + 1;
  return found;
}

TPlDfInputWindow::Match TPlDfInputWindow::Longest(std::size_t p, const Slots& slots, int pending,
                                                  int sufficient, int chainLimit) {
  const std::uint8_t* base = buffer_.data();
  const int m = static_cast<int>(std::min<std::size_t>(maxMatch_, dataEnd_ - p));
  // A pending match as long as what is left cannot be beaten.
  if (pending > 0 && m <= pending) return {};
  // Every candidate has the three bytes: with the newest of them a window
  // back or more there are none.
  const auto limit = static_cast<std::int64_t>(p) - static_cast<std::int64_t>(window_);
  std::int64_t c = *slots.latest;
  if (c < limit) return {};
  const int best = pending > 0 ? pending : 2;
  const int candidates = best >= std::min(sufficient, m) ? chainLimit / 4 : chainLimit;
  // The hash slot's count before this position's insertion is the number of
  // the 14-bit chain's first candidate.
  TPlDfChainWalk walk(base, p, m, best, sufficient, *slots.count,
                      static_cast<std::uint32_t>(std::max(candidates, 0)), numbers_.data(), mask_,
                      limit);
  // Candidates newer than this were examined on the three-byte chain.
  constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
  std::int64_t seen = kNone;
  if (best < kLongReach) {
    if (walk.Follow<ThreeBytes>(links_.data(), latest_.data(), c, kLongReach)) return walk.Result();
    seen = c;
  }
  // Here best >= kLongReach and so m > kLongReach: the long bytes are input.
  // The walk goes on right after the candidate that ended the first one
  // when that one has the long bytes too, else from the chain's newest.
  const std::uint64_t hereLong = LoadLong(base + p);
  CatchUpLong(p);
  const std::uint16_t* const longLinks = longLinks_.data();
  c = latestLong_[LongSlot(hereLong)];
  if (seen != kNone && LoadLong(base + seen) == hereLong) {
    const std::uint16_t back = longLinks[static_cast<std::size_t>(seen) & mask_];
    if (back == 0) return walk.Result();
    c = seen - back;
    seen = kNone;
  }
  // Positions fall along the chain: skip the examined ones.
  while (c >= seen) {
    const std::uint16_t back = longLinks[static_cast<std::size_t>(c) & mask_];
    if (back == 0) return walk.Result();
    c -= back;
  }
  walk.Follow<LongBytes>(longLinks, latestLong_.data(), c, std::numeric_limits<int>::max());
  return walk.Result();
}

std::uint32_t TPlDfInputWindow::Checksum() const { return adler32_ ? checksum_ : ~checksum_; }
