#pragma once
// Puts the process-wide random source into a known state for each test and
// restores the default (system) mode afterwards.

#include <gtest/gtest.h>

#include <cstdint>

#include "generator/random_source.h"

class RandomTest : public testing::Test {
 protected:
  void SetUp() override {
    SetRandomMode(RandomMode::Deterministic);
    SetRandomSeed(0);
  }
  void TearDown() override {
    SetRandomMode(RandomMode::System);
    SetRandomSeed(0);
  }

  // Number of generator steps from one seed to another (how many draws a
  // call made); -1 when not reached within the limit.
  static int StepsBetween(std::uint32_t from, std::uint32_t to, int limit = 10000) {
    for (int steps = 0; steps <= limit; ++steps) {
      if (from == to) return steps;
      from = from * 134775813u + 1u;
    }
    return -1;
  }
};
