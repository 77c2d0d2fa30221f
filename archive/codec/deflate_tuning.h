#pragma once
// The three search parameters of the encoder, as one value.

#include <cstdint>
#include <limits>

struct TDeflateTuning {
  // A match this long ends the search.
  std::int32_t sufficientLength;
  // Most hash-chain candidates examined per search.
  std::int32_t chainLimit;
  // A pending match this long is emitted without trying the next position.
  std::int32_t lazyLimit;

  friend constexpr bool operator==(const TDeflateTuning&, const TDeflateTuning&) = default;
};

namespace deflate_tuning {

// -1 in any parameter means unlimited.
constexpr std::int32_t kUnlimited = -1;
// A value set below this (other than kUnlimited) becomes this.
constexpr std::int32_t kSmallest = 4;

// The setting rule's clamp.
constexpr std::int32_t Clamped(std::int32_t value) {
  return (value != kUnlimited && value < kSmallest) ? kSmallest : value;
}
// The value the search uses: unlimited becomes the largest integer.
constexpr std::int32_t Effective(std::int32_t value) {
  return value == kUnlimited ? std::numeric_limits<std::int32_t>::max() : value;
}
// Twice each parameter (unlimited and values that would overflow stay), for
// the deeper search that text without zero bytes gets at the normal level.
constexpr TDeflateTuning Doubled(const TDeflateTuning& t) {
  auto twice = [](std::int32_t v) {
    return (v == kUnlimited || v > std::numeric_limits<std::int32_t>::max() / 2) ? v : 2 * v;
  };
  return {twice(t.sufficientLength), twice(t.chainLimit), twice(t.lazyLimit)};
}

}  // namespace deflate_tuning
