#include "archive/codec/deflate_input_window.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "archive/codec/adler32.h"
#include "archive/codec/crc32.h"

namespace {

constexpr std::size_t kHashSize = 16384;  // 14-bit hash
constexpr int kLatestBits = 16;
// The second chain links positions by a hash of their first kLongBytes
// bytes; a search whose best length has reached kLongReach walks it, since
// only candidates with those bytes equal can do better. (8 rather than 6 or
// 7: faster on the site list, a little slower on prose.)
constexpr int kLongBytes = 8;
constexpr int kLongReach = kLongBytes - 1;
constexpr std::uint64_t kLongMask = kLongBytes >= 8 ? ~std::uint64_t{0}
                                                    : (std::uint64_t{1} << (8 * kLongBytes)) - 1;
constexpr int kLongBits = 16;
// Insertions of more positions than this at once (the inside of a long
// match) leave the longer-prefix chain to be caught up by a search.
constexpr std::size_t kEagerLong = 32;
static_assert(kLongBytes >= 4 && kLongBytes <= 8);
constexpr std::size_t kSlack = 16;
// Far enough below every position that no position is within a window of it.
constexpr std::int32_t kEmpty = -(1 << 30);
// The buffer slides by this many windows at once, so that each slide moves
// only the last window and the look-ahead down while many windows of input
// pass between slides.
constexpr std::size_t kSlideWindows = 6;

// Loads are little-endian, so that byte 0 is the low byte on every machine
// (the hashes and the match length read them so).
std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

std::uint32_t Load24(const std::uint8_t* p) { return Load32(p) & 0xFFFFFF; }

std::size_t LatestSlot(std::uint32_t three) { return (three * 0x9E3779B1u) >> (32 - kLatestBits); }

// The 14-bit hash of the three bytes held in the low 24 bits.
std::size_t HeadSlot(std::uint32_t three) {
  return ((three & 0xFF) << 10 ^ (three >> 8 & 0xFF) << 5 ^ three >> 16) & (kHashSize - 1);
}

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

std::uint64_t LoadLong(const std::uint8_t* p) { return Load64(p) & kLongMask; }

std::size_t LongSlot(std::uint64_t bytes) {
  return static_cast<std::size_t>((bytes * 0x9E3779B97F4A7C15u) >> (64 - kLongBits));
}

// Makes p the latest position of its chain; returns the distance back to the
// one before (0 when that is a window or more back).
std::uint16_t BackTo(std::size_t p, std::int32_t& latest, std::size_t window) {
  const std::int64_t back = static_cast<std::int64_t>(p) - latest;
  latest = static_cast<std::int32_t>(p);
  return back < static_cast<std::int64_t>(window) ? static_cast<std::uint16_t>(back) : 0;
}

// Common prefix of a and b, at most limit bytes, read eight at a time.
inline int MatchLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
  int len = 0;
  while (len < limit) {
    std::uint64_t diff = Load64(a + len) ^ Load64(b + len);
    if (diff != 0) {
      len += std::countr_zero(diff) >> 3;
      break;
    }
    len += 8;
  }
  return std::min(len, limit);
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
  // The next search is almost always one byte on: start fetching its table
  // slots now (the latest-position tables are mostly out of the first-level
  // cache). The bytes read lie inside the buffer, whose zeroed slack follows
  // the data.
  const std::uint8_t* following = buffer_.data() + p + 1;
  __builtin_prefetch(&latest_[LatestSlot(Load24(following))]);
  __builtin_prefetch(&slotCounts_[HeadSlot(Load24(following))]);
  __builtin_prefetch(&latestLong_[LongSlot(LoadLong(following))]);
  const Slots slots = SlotsOf(p);
  const Match found = Longest(p, slots, pending, sufficient, chainLimit);
  InsertAt(p, slots);
  inserted_ = p + 1;
  return found;
}

TPlDfInputWindow::Match TPlDfInputWindow::Longest(std::size_t p, const Slots& slots, int pending,
                                                  int sufficient, int chainLimit) {
  const std::uint8_t* base = buffer_.data();
  const std::uint8_t* here = base + p;
  const std::uint32_t here3 = Load24(here);
  const int m = static_cast<int>(std::min<std::size_t>(maxMatch_, dataEnd_ - p));
  // A pending match as long as what is left cannot be beaten.
  if (pending > 0 && m <= pending) return {};
  const int s = std::min(sufficient, m);
  int best = pending > 0 ? pending : 2;
  int bestDistance = 0;
  // The candidate budget counts every position of the 14-bit hash chain,
  // newest first; the hash slot's count before this position's insertion is
  // the number of the chain's first candidate. Only positions with the same
  // three bytes can give a match longer than 2, and for those the rank grows
  // along the walk, so the first of them out of the budget ends it.
  const std::uint16_t first = *slots.count;
  // The walk runs on locals: the compiler cannot keep members in registers
  // across it.
  const std::uint16_t* const numbers = numbers_.data();
  const std::size_t mask = mask_;
  const int candidates = best >= s ? chainLimit / 4 : chainLimit;
  const auto budget = static_cast<std::uint32_t>(std::max(candidates, 0));
  const auto limit = static_cast<std::int64_t>(p) - static_cast<std::int64_t>(window_);
  auto result = [&]() -> Match {
    if (bestDistance == 0) return {};
    return {best, bestDistance};
  };
  // Below best < m holds: reaching m ends the search, since s <= m. Returns
  // true when the search ends at candidate c.
  // A longer match must equal the bytes up to the best length, so the four
  // ending there are compared first (three equal bytes beat 2).
  std::uint32_t tail = best >= 3 ? Load32(here + best - 3) : 0;
  auto consider = [&](std::int64_t c, std::size_t slot) {
    if (static_cast<std::uint16_t>(first - numbers[slot]) >= budget) return true;
    const std::uint8_t* candidate = base + c;
    if (best >= 3 && Load32(candidate + best - 3) != tail) return false;
    const int len = MatchLength(candidate, here, m);
    if (len <= best) return false;
    best = len;
    bestDistance = static_cast<int>(p - static_cast<std::size_t>(c));
    tail = Load32(here + best - 3);
    return len >= s;
  };
  std::int64_t c = *slots.latest;
  // Candidates newer than this were examined on the three-byte chain.
  constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
  std::int64_t seen = kNone;
  if (best < kLongReach) {
    const std::uint16_t* const links = links_.data();
    for (;;) {
      if (c < limit) return result();
      const std::size_t slot = static_cast<std::size_t>(c) & mask;
      const std::uint16_t back = links[slot];
      if (Load24(base + c) == here3) {
        if (consider(c, slot)) return result();
        if (best >= kLongReach) break;
      }
      if (back == 0) return result();
      c -= back;
    }
    seen = c;
  }
  // Here best >= kLongReach and so m > kLongReach: the long bytes are input.
  // The walk goes on right after the candidate that ended the first one
  // when that one has the long bytes too, else from the chain's newest.
  const std::uint64_t hereLong = LoadLong(here);
  CatchUpLong(p);
  const std::uint16_t* const longLinks = longLinks_.data();
  c = latestLong_[LongSlot(hereLong)];
  if (seen != kNone && LoadLong(base + seen) == hereLong) {
    const std::uint16_t back = longLinks[static_cast<std::size_t>(seen) & mask];
    if (back == 0) return result();
    c = seen - back;
    seen = kNone;
  }
  // Positions fall along the chain: once past the examined ones, every
  // later candidate is new, so the hot loop below does not ask.
  while (c >= seen) {
    const std::uint16_t back = longLinks[static_cast<std::size_t>(c) & mask];
    if (back == 0) return result();
    c -= back;
  }
  while (c >= limit) {
    const std::size_t slot = static_cast<std::size_t>(c) & mask;
    const std::uint16_t back = longLinks[slot];
    if (LoadLong(base + c) == hereLong && consider(c, slot)) break;
    if (back == 0) break;
    c -= back;
  }
  return result();
}

std::uint32_t TPlDfInputWindow::Checksum() const { return adler32_ ? checksum_ : ~checksum_; }
