#include "archive/codec/deflate_input_window.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archive/codec/adler32.h"
#include "archive/codec/crc32.h"

namespace {

constexpr std::size_t kHashSize = 16384;  // 14-bit hash
constexpr int kLatestBits = 17;
constexpr std::size_t kSlack = 16;
constexpr std::int32_t kEmpty = -1;
// The buffer slides by this many windows at once, so that each slide moves
// only the last window and the look-ahead down while many windows of input
// pass between slides.
constexpr std::size_t kSlideWindows = 6;
// Sequence numbers sit in a ring of two windows (see Search), which a slide
// must keep in place.
static_assert(kSlideWindows % 2 == 0);

std::uint16_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

std::uint32_t Load24(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
}

std::size_t LatestSlot(std::uint32_t three) { return (three * 0x9E3779B1u) >> (32 - kLatestBits); }

std::size_t HeadSlot(const std::uint8_t* b) {
  return ((std::size_t{b[0]} << 10) ^ (std::size_t{b[1]} << 5) ^ b[2]) & (kHashSize - 1);
}

std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
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
      slotCounts_(kHashSize, 0),
      sequence_(2 * window_, 0),
      links_(window_, static_cast<std::uint32_t>(kEmpty)),
      latest_(std::size_t{1} << kLatestBits, kEmpty) {
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
  for (std::uint64_t& entry : links_) {
    std::int32_t prev = static_cast<std::int32_t>(static_cast<std::uint32_t>(entry));
    down(prev);
    entry = (entry & ~std::uint64_t{0xFFFFFFFF}) | static_cast<std::uint32_t>(prev);
  }
  cur_ -= shift;
  dataEnd_ -= shift;
  inserted_ -= shift;
  bufferOffset_ += static_cast<std::int64_t>(shift);
}

void TPlDfInputWindow::Prepare() {
  if (cur_ >= (kSlideWindows + 1) * window_) Slide();
  if (!sourceEnded_ && dataEnd_ - cur_ < static_cast<std::size_t>(maxMatch_) + 2) Fill();
}

void TPlDfInputWindow::Insert(std::size_t p) {
  const std::uint8_t* b = buffer_.data() + p;
  const std::uint32_t three = Load24(b);
  sequence_[p & (2 * mask_ + 1)] = ++slotCounts_[HeadSlot(b)];
  std::int32_t& latest = latest_[LatestSlot(three)];
  links_[p & mask_] = std::uint64_t{three} << 32 | static_cast<std::uint32_t>(latest);
  latest = static_cast<std::int32_t>(p);
}

void TPlDfInputWindow::Advance(std::size_t count) {
  std::size_t target = cur_ + count;
  // Only positions with three bytes can be hashed; later ones start no match.
  std::size_t last = std::min(target, dataEnd_ >= 2 ? dataEnd_ - 2 : 0);
  for (; inserted_ < last; ++inserted_) Insert(inserted_);
  if (inserted_ < target) inserted_ = target;
  cur_ = target;
}

int TPlDfInputWindow::MatchLength(std::size_t candidate, std::size_t p, int limit) const {
  const std::uint8_t* a = buffer_.data() + candidate;
  const std::uint8_t* b = buffer_.data() + p;
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

TPlDfInputWindow::Match TPlDfInputWindow::Search(int pending, int sufficient, int chainLimit) {
  const std::size_t p = cur_;
  const std::uint8_t* here = buffer_.data() + p;
  const std::uint32_t here3 = Load24(here);
  // The candidate budget counts every position of the 14-bit hash chain,
  // newest first; the hash slot's count before this insertion is the
  // sequence number of the chain's first candidate.
  const std::uint32_t first = slotCounts_[HeadSlot(here)];
  std::int32_t c = latest_[LatestSlot(here3)];
  // The next search is almost always one byte on: start fetching its table
  // slots now (the large latest-position table is mostly out of cache). The
  // bytes read lie before the zeroed slack's end, since three are left here.
  const std::uint8_t* following = buffer_.data() + p + 1;
  __builtin_prefetch(&latest_[LatestSlot(Load24(following))]);
  __builtin_prefetch(&slotCounts_[HeadSlot(following)]);
  Insert(p);
  inserted_ = p + 1;
  const int m = static_cast<int>(std::min<std::size_t>(maxMatch_, dataEnd_ - p));
  const int s = std::min(sufficient, m);
  if (pending > 0 && m < pending) return {};
  int best = pending > 0 ? pending : 2;
  int bestDistance = 0;
  const int candidates = best >= s ? chainLimit / 4 : chainLimit;
  const auto limit = static_cast<std::int64_t>(p) - static_cast<std::int64_t>(window_);
  const std::size_t ring = 2 * mask_ + 1;
  while (c != kEmpty && c >= limit) {
    const std::uint64_t entry = links_[static_cast<std::size_t>(c) & mask_];
    const auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(entry));
    // Fetch the next link while this one is compared: the walk is bound by
    // memory latency, not by the comparisons.
    __builtin_prefetch(&links_[static_cast<std::size_t>(next) & mask_]);
    // Only positions with the same three bytes can give a match longer than
    // 2, so the walk follows the finer chain of the latest-position table
    // and skips other values; the budget still counts every position the
    // hash chain holds before c. (At exactly one window back the link
    // belongs to the current position; a wrong pass only costs the full
    // comparison below, and the walk ends there.)
    if (static_cast<std::uint32_t>(entry >> 32) == here3) {
      const std::uint32_t rank = first - sequence_[static_cast<std::size_t>(c) & ring];
      if (rank >= static_cast<std::uint32_t>(std::max(candidates, 0))) break;
      // The two bytes ending at the best length must be equal too.
      if (best == 2 || Load16(buffer_.data() + c + best - 1) == Load16(here + best - 1)) {
        const int len = MatchLength(static_cast<std::size_t>(c), p, m);
        if (len > best) {
          best = len;
          bestDistance = static_cast<int>(p - static_cast<std::size_t>(c));
          if (len >= s) break;
        }
      }
    }
    if (next >= c) break;  // a slot reused by a newer position: the chain ends here
    c = next;
  }
  if (bestDistance == 0 || best < 3) return {};
  return {best, bestDistance};
}

std::uint32_t TPlDfInputWindow::Checksum() const { return adler32_ ? checksum_ : ~checksum_; }
