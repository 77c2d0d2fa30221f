#include "generator/random_source.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "random_fixture.h"

namespace {

struct DrawStep {
  std::uint32_t seedAfter;
  std::uint32_t below26;
  std::uint32_t below10;
};

struct Sequence {
  const char* name;
  std::uint32_t start;
  std::vector<DrawStep> steps;
};

void PrintTo(const Sequence& c, std::ostream* os) { *os << c.name; }

class LcgSequence : public RandomTest, public testing::WithParamInterface<Sequence> {};

TEST_P(LcgSequence, ReproducesSeedsAndResults) {
  const Sequence& seq = GetParam();
  for (const std::uint32_t range : {26u, 10u}) {
    SetRandomSeed(seq.start);
    for (const DrawStep& step : seq.steps) {
      const std::uint32_t value = RandomBelow(range);
      EXPECT_EQ(RandomSeed(), step.seedAfter);
      EXPECT_EQ(value, range == 26 ? step.below26 : step.below10) << "seed " << step.seedAfter;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Deterministic, LcgSequence,
    testing::Values(
        Sequence{"FromZero", 0, {{1, 0, 0}, {134775814, 0, 0}, {3698175007u, 22, 8}}},
        Sequence{"FromClock",
                 45296789,
                 {{2099557098, 12, 4}, {1162356371, 7, 2}, {1524927712, 9, 3}, {102383713, 0, 0}}},
        Sequence{"Wraps", 0xFFFFFFFFu, {{0xF7F77BFCu, 25, 9}}}),
    [](const testing::TestParamInfo<Sequence>& info) { return std::string(info.param.name); });

using SeedArithmetic = RandomTest;

TEST_F(SeedArithmetic, MillisecondsSinceMidnight) {
  EXPECT_EQ(SeedFromTimeOfDay(12, 34, 56, 789), 45296789u);
  EXPECT_EQ(SeedFromTimeOfDay(0, 0, 0, 0), 0u);
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
}

TEST_F(SeedArithmetic, SeedRandomSetsATimeOfDay) {
  SetRandomSeed(0xFFFFFFFFu);
  SeedRandom();
  EXPECT_LT(RandomSeed(), 86400000u);
}

using TinyRanges = RandomTest;

TEST_F(TinyRanges, ZeroAndOneGiveZeroAndStillAdvance) {
  SetRandomSeed(45296789);
  EXPECT_EQ(RandomBelow(0), 0u);
  EXPECT_EQ(RandomSeed(), 2099557098u);
  EXPECT_EQ(RandomBelow(1), 0u);
  EXPECT_EQ(RandomSeed(), 1162356371u);
}

using SystemSource = RandomTest;

TEST_F(SystemSource, IsTheDefaultMode) {
  TearDown();  // back to the process start state
  EXPECT_EQ(GetRandomMode(), RandomMode::System);
}

TEST_F(SystemSource, LeavesTheSeedAlone) {
  SetRandomMode(RandomMode::System);
  SetRandomSeed(45296789);
  for (int i = 0; i < 10; ++i) RandomBelow(100);
  EXPECT_EQ(RandomSeed(), 45296789u);
  EXPECT_EQ(RandomBelow(0), 0u);
  EXPECT_EQ(RandomBelow(1), 0u);
}

TEST_F(SystemSource, StaysInRangeAndReachesEveryValue) {
  SetRandomMode(RandomMode::System);
  for (const std::uint32_t range : {2u, 3u, 7u, 26u}) {
    std::set<std::uint32_t> seen;
    // 2000 draws miss one of 26 values with odds far below 1e-30.
    for (int i = 0; i < 2000; ++i) {
      const std::uint32_t value = RandomBelow(range);
      ASSERT_LT(value, range);
      seen.insert(value);
    }
    EXPECT_EQ(seen.size(), range);
  }
}

TEST_F(SystemSource, HugeRangeStaysInRange) {
  SetRandomMode(RandomMode::System);
  // Just above half the word range: nearly half the words are rejected.
  const std::uint32_t range = 0x80000001u;
  bool upperHalf = false;
  for (int i = 0; i < 200; ++i) {
    const std::uint32_t value = RandomBelow(range);
    ASSERT_LT(value, range);
    upperHalf = upperHalf || value >= 0x40000000u;
  }
  EXPECT_TRUE(upperHalf);
}

}  // namespace
