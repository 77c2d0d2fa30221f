#pragma once
// One search of the encoder's input window (deflate_input_window.h): the
// best match so far, the candidate budget, and the walk along the chains.
//
// Why the walk is fast: on text such as a site list most candidates share
// the best length with the current position and no more, and a plain walk
// loads one link after another only to reject them. Every candidate that
// can do better also equals the current position at the key that ends one
// byte past the best length, so the walk follows that key's chain beside
// its own and stops at whichever of the two ends first; the two link loads
// of a step are independent and overlap.
//
// What the window must guarantee: every position of the last window before
// the current one is on its chain of each key the walk follows, links a
// window back or more are 0, and best < m, so that the keys read ahead of
// the current position are input.

#include <algorithm>
#include <cstdint>

#include "archive/codec/deflate_input_window.h"
#include "archive/codec/deflate_window_keys.h"

namespace deflate_window {

// One search's walk: the best match so far and the candidates' budget.
class TPlDfChainWalk {
 public:
  TPlDfChainWalk(const std::uint8_t* base, std::size_t p, int m, int best, int sufficient,
                 std::uint16_t first, std::uint32_t budget, const std::uint16_t* numbers,
                 std::size_t mask, std::int64_t limit)
      : base_(base),
        here_(base + p),
        p_(static_cast<std::int64_t>(p)),
        m_(m),
        s_(std::min(sufficient, m)),
        best_(best),
        first_(first),
        budget_(budget),
        numbers_(numbers),
        mask_(mask),
        limit_(limit),
        tail_(best >= 3 ? Load32(here_ + best - 3) : 0) {}

  TPlDfInputWindow::Match Result() const {
    if (bestDistance_ == 0) return {};
    return {best_, bestDistance_};
  }
  // The candidate budget counts every position of the 14-bit hash chain,
  // newest first, and a candidate's number says its place there. Only
  // positions with the same three bytes can give a match longer than 2, and
  // for those the rank grows along the walk, so the first of them out of
  // the budget ends it.
  bool OutOfBudget(std::int64_t c) const {
    return static_cast<std::uint16_t>(first_ - numbers_[static_cast<std::size_t>(c) & mask_]) >=
           budget_;
  }
  // Examines candidate c, which has the three bytes equal; true when the
  // search ends there. Below best < m holds: reaching m ends the search,
  // since s <= m. A longer match must equal the bytes up to the best length,
  // so the four ending there are compared first (three equal bytes beat 2).
  bool Consider(std::int64_t c) {
    if (OutOfBudget(c)) return true;
    const std::uint8_t* candidate = base_ + c;
    if (best_ >= 3 && Load32(candidate + best_ - 3) != tail_) return false;
    const int len = MatchLength(candidate, here_, m_);
    if (len <= best_) return false;
    best_ = len;
    bestDistance_ = static_cast<int>(p_ - c);
    tail_ = Load32(here_ + best_ - 3);
    return len >= s_;
  }
  template <class Key>
  bool Follow(const std::uint16_t* links, const std::int32_t* latest, std::int64_t& c, int until);

 private:
  // The position before x on x's chain, or far below the window.
  std::int64_t Back(const std::uint16_t* links, std::int64_t x) const {
    const std::uint16_t back = links[static_cast<std::size_t>(x) & mask_];
    return back != 0 ? x - back : kEmpty;
  }

  const std::uint8_t* base_;
  const std::uint8_t* here_;
  std::int64_t p_;
  int m_;
  int s_;
  int best_;
  int bestDistance_ = 0;
  std::uint16_t first_;
  std::uint32_t budget_;
  const std::uint16_t* numbers_;
  std::size_t mask_;
  std::int64_t limit_;
  std::uint32_t tail_;
};

// Walks the candidates from c (on the chain of here's key, or past the
// window) down; every candidate above c has been examined. Returns true
// when the search ends, false once best reaches until, with c at the
// candidate that reached it.
//
// A candidate that beats best equals here's key also shift bytes on, where
// that key ends just past the best length; so it lies shift before a
// position on the chain of that key ahead. Both chains are walked side by
// side; each holds every such candidate in order, so the first of the two
// to reach a position with both keys equal has reached the newest. That one
// is examined and both go on from there. The walk ends when either chain
// runs out or, on here's chain, at the first position out of the budget.
// Every candidate the plain walk would take is examined, in its order, and
// the ones skipped could not beat best: the result is the plain walk's.
//
// The chain ahead holds positions before p only, so it covers candidates
// below p - shift: it waits while the walk is above them, and until it is
// at or below c it only catches up (what it passes above c, c has passed).
// When best grows, the walk goes on along the chain of the new key ahead.
template <class Key>
inline bool TPlDfChainWalk::Follow(const std::uint16_t* links, const std::int32_t* latest,
                                   std::int64_t& c, int until) {
  const std::uint64_t hereKey = Key::At(here_);
  for (;;) {
    const int from = best_;
    const std::int64_t shift = std::max(best_ + 1 - Key::kBytes, 0);
    const std::uint64_t aheadKey = Key::At(here_ + shift);
    // With no shift the chain ahead is here's own and is not walked.
    const std::int64_t direct = shift > 0 ? p_ - shift : limit_;
    // The chain ahead stops a window back, and where its candidates would
    // start before the buffer.
    const std::int64_t aheadLimit = std::max<std::int64_t>(limit_, 0) + shift;
    std::int64_t a = shift > 0 ? latest[Key::Slot(aheadKey)] : kEmpty;
    for (;;) {
      if (c < limit_) return true;
      const std::uint16_t back = links[static_cast<std::size_t>(c) & mask_];
      std::int64_t t = -1;  // the candidate to examine, if any
      if (Key::At(base_ + c) == hereKey) {
        if (OutOfBudget(c)) return true;
        if (Key::At(base_ + c + shift) == aheadKey) t = c;
      }
      if (t < 0 && c < direct) {
        // Run out: no candidate is left that can beat best.
        if (a < aheadLimit) return true;
        const std::int64_t y = a - shift;
        if (y <= c && Key::At(base_ + a) == aheadKey && Key::At(base_ + y) == hereKey)
          t = y;
        else
          a = Back(links, a);
      }
      if (t < 0) {
        if (back == 0) return true;
        c -= back;
        continue;
      }
      if (Consider(t)) return true;
      if (best_ >= until) {
        c = t;
        return false;
      }
      c = Back(links, t);
      if (best_ != from) break;  // a new key ahead
      // The chain ahead goes on from t too: t + shift is on it when t is
      // below direct.
      if (t < direct) a = Back(links, t + shift);
    }
  }
}

}  // namespace deflate_window
