#include "generator/random_source.h"

#include <chrono>
#include <limits>

#include "core/secure_random.h"

namespace {

// One process-wide source; every draw of the program goes through it from
// the GUI thread, so plain variables suffice.
RandomMode g_mode = RandomMode::System;
std::uint32_t g_seed = 0;

constexpr std::uint32_t kMultiplier = 0x08088405;  // 134775813
constexpr std::uint32_t kMillisPerDay = 24u * 60u * 60u * 1000u;

// Scales the new seed into 0..range-1 by the upper half of the product.
std::uint32_t LcgBelow(std::uint32_t range) {
  g_seed = g_seed * kMultiplier + 1;  // unsigned arithmetic wraps modulo 2^32
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(range) * g_seed) >> 32);
}

std::uint32_t SystemWord() {
  std::uint32_t word = 0;
  SecureRandomBytes(&word, sizeof word);
  return word;
}

// Rejection sampling: words from the incomplete last block of range values
// are drawn again, so every result is equally likely.
std::uint32_t SystemBelow(std::uint32_t range) {
  if (range <= 1) return 0;
  const std::uint32_t limit = std::numeric_limits<std::uint32_t>::max() -
                              (std::numeric_limits<std::uint32_t>::max() % range + 1) % range;
  std::uint32_t word = SystemWord();
  while (word > limit) word = SystemWord();
  return word % range;
}

}  // namespace

void SetRandomMode(RandomMode mode) { g_mode = mode; }
RandomMode GetRandomMode() { return g_mode; }

std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
  const long long millis = ((hour * 60LL + minute) * 60LL + second) * 1000LL + millisecond;
  return static_cast<std::uint32_t>(millis);
}

void SeedRandom() {
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
  // The system clock counts days of exactly 86,400 s, so the remainder is the
  // time of day in UTC.
  long long millisOfDay = sinceEpoch.count() % kMillisPerDay;
  if (millisOfDay < 0) millisOfDay += kMillisPerDay;  // a clock set before 1970
  const auto ms = static_cast<std::uint32_t>(millisOfDay);
  const std::uint32_t secondsOfDay = ms / 1000;
  g_seed = SeedFromTimeOfDay(static_cast<int>(secondsOfDay / 3600),
                             static_cast<int>(secondsOfDay / 60 % 60),
                             static_cast<int>(secondsOfDay % 60), static_cast<int>(ms % 1000));
}

std::uint32_t RandomSeed() { return g_seed; }
void SetRandomSeed(std::uint32_t seed) { g_seed = seed; }

std::uint32_t RandomBelow(std::uint32_t range) {
  if (g_mode == RandomMode::Deterministic) return LcgBelow(range);
  return SystemBelow(range);
}
