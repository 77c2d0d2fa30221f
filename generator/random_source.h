#pragma once
// The process-wide random source behind every draw of the program.
//
// Two modes share RandomBelow(): the operating system's cryptographic source
// (the default: generated passwords must not be guessable) and a seeded
// 32-bit linear congruential generator whose draw sequences are fixed, for
// tests and reproducible runs.

#include <cstdint>

enum class RandomMode { System, Deterministic };

void SetRandomMode(RandomMode mode);
RandomMode GetRandomMode();

// Seeds the generator with the milliseconds since midnight UTC.
void SeedRandom();
// The seed SeedRandom sets for a UTC time of day.
std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);
// The generator's whole state.
std::uint32_t RandomSeed();
void SetRandomSeed(std::uint32_t seed);

// A value in 0..range-1 (0 for range 0 or 1). In deterministic mode the seed
// advances on every call, even for range 0.
std::uint32_t RandomBelow(std::uint32_t range);
