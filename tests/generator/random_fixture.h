#pragma once
// Puts the process-wide random source into a known state for each test and
// restores the default (system) mode afterwards.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

// A table of cases each running one generator call from its seed: the call
// must make the expected text with exactly the expected number of draws.
template <class Case>
class DrawTest : public RandomTest, public testing::WithParamInterface<Case> {
 protected:
  template <class Call>
  void ExpectDraws(Call call) {
    const Case& c = this->GetParam();
    SetRandomSeed(c.seed);
    EXPECT_EQ(call(c), c.expected);
    EXPECT_EQ(StepsBetween(c.seed, RandomSeed()), c.draws);
  }
};

// A case's name as its test's name.
template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}
