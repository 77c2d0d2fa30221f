// Package-merge code lengths and the run-length coding of code lengths.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <random>

#include "archive/codec/deflate.h"
#include "archive/codec/deflate_block_writer.h"

namespace {

// Kraft sum scaled by 2^maxLength.
std::uint64_t KraftScaled(const std::vector<int>& lengths, int maxLength) {
  std::uint64_t sum = 0;
  for (int len : lengths)
    if (len > 0) sum += std::uint64_t{1} << (maxLength - len);
  return sum;
}

std::uint64_t Cost(const std::vector<int>& lengths, const std::vector<std::uint32_t>& w) {
  std::uint64_t c = 0;
  for (std::size_t i = 0; i < w.size(); ++i) c += std::uint64_t{w[i]} * lengths[i];
  return c;
}

// Reference: the cheapest complete length assignment with lengths <= L,
// by exhaustive search over sorted lengths (small cases only).
std::uint64_t ReferenceCost(std::vector<std::uint32_t> w, int maxLength) {
  w.erase(std::remove(w.begin(), w.end(), 0u), w.end());
  std::sort(w.rbegin(), w.rend());  // heaviest gets the shortest code
  std::uint64_t best = std::numeric_limits<std::uint64_t>::max();
  std::vector<int> len(w.size());
  std::function<void(std::size_t, int, std::uint64_t, std::uint64_t)> go =
      [&](std::size_t i, int minLen, std::uint64_t kraft, std::uint64_t cost) {
        const std::uint64_t full = std::uint64_t{1} << maxLength;
        if (kraft > full || cost >= best) return;
        if (i == w.size()) {
          if (kraft == full) best = cost;
          return;
        }
        for (int l = minLen; l <= maxLength; ++l)
          go(i + 1, l, kraft + (full >> l), cost + std::uint64_t{w[i]} * l);
      };
  go(0, 1, 0, 0);
  return best;
}

struct WeightsCase {
  int maxLength;
  std::vector<std::uint32_t> weights;
};

class CodeLengthsTest : public ::testing::TestWithParam<WeightsCase> {};

TEST_P(CodeLengthsTest, CompleteLimitedAndOptimal) {
  const auto& [maxLength, weights] = GetParam();
  std::vector<int> lengths = GenerateCodeLengths(maxLength, weights);
  ASSERT_EQ(lengths.size(), weights.size());
  for (std::size_t i = 0; i < weights.size(); ++i) {
    EXPECT_EQ(lengths[i] == 0, weights[i] == 0) << i;
    EXPECT_LE(lengths[i], maxLength);
  }
  EXPECT_EQ(KraftScaled(lengths, maxLength), std::uint64_t{1} << maxLength);
  EXPECT_EQ(Cost(lengths, weights), ReferenceCost(weights, maxLength));
}

INSTANTIATE_TEST_SUITE_P(Small, CodeLengthsTest,
                         ::testing::Values(WeightsCase{15, {1, 1}}, WeightsCase{15, {5, 0, 3}},
                                           WeightsCase{15, {1, 1, 2}},
                                           WeightsCase{15, {10, 1, 1, 1, 1}},
                                           WeightsCase{3, {1, 1, 1, 1, 1, 1, 1, 1}},
                                           // Fibonacci weights want a 7-deep code; 4 is the cap.
                                           WeightsCase{4, {1, 1, 2, 3, 5, 8, 13, 21}},
                                           WeightsCase{5, {1, 1, 2, 3, 5, 8, 13, 21, 34}},
                                           WeightsCase{7, {0, 0, 7, 7, 7, 7, 1, 0, 2}},
                                           WeightsCase{2, {9, 9, 9, 9}},
                                           WeightsCase{15, {1000, 1, 1, 1, 1, 1}}));

TEST(CodeLengthsTest, NoOrOneUsedSymbolGetsLengthOne) {
  EXPECT_EQ(GenerateCodeLengths(15, {0, 0, 0}), (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(GenerateCodeLengths(15, {0, 0, 9}), (std::vector<int>{0, 0, 1}));
}

TEST(CodeLengthsTest, LargeAlphabetsRespectTheCap) {
  std::mt19937 rng(3);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::uint32_t> w(286);
    for (auto& x : w) x = (rng() % 4 == 0) ? 0 : (1u << (rng() % 20)) + rng() % 7;
    w[256] = 1;
    for (int cap : {9, 12, 15}) {
      std::vector<int> lengths = GenerateCodeLengths(cap, w);
      EXPECT_EQ(KraftScaled(lengths, cap), std::uint64_t{1} << cap);
      EXPECT_LE(*std::max_element(lengths.begin(), lengths.end()), cap);
    }
  }
}

struct RleCase {
  std::vector<int> lengths;
  std::vector<int> coded;  // symbols, with the repeat count after 16, 17, 18
};

class RunLengthTest : public ::testing::TestWithParam<RleCase> {};

TEST_P(RunLengthTest, CodesRunsAsTheFormatAllows) {
  DynamicCodes codes;
  RunLengthCode(GetParam().lengths, codes);
  std::vector<int> got(codes.rle.begin(), codes.rle.end());
  EXPECT_EQ(got, GetParam().coded);
}

INSTANTIATE_TEST_SUITE_P(Runs, RunLengthTest,
                         ::testing::Values(RleCase{{8, 8}, {8, 8}}, RleCase{{8, 8, 8}, {8, 8, 8}},
                                           RleCase{{8, 8, 8, 8}, {8, 16, 3}},
                                           RleCase{{5, 5, 5, 5, 5, 5, 5, 5}, {5, 16, 6, 5}},
                                           RleCase{{5, 5, 5, 5, 5, 5, 5, 5, 5}, {5, 16, 6, 5, 5}},
                                           RleCase{{5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5},
                                                   {5, 16, 6, 16, 4}},
                                           RleCase{{0, 0}, {0, 0}}, RleCase{{0, 0, 0}, {17, 3}},
                                           RleCase{std::vector<int>(10, 0), {17, 10}},
                                           RleCase{std::vector<int>(11, 0), {18, 11}},
                                           RleCase{std::vector<int>(138, 0), {18, 138}},
                                           RleCase{std::vector<int>(139, 0), {18, 138, 0}},
                                           RleCase{std::vector<int>(141, 0), {18, 138, 17, 3}},
                                           RleCase{std::vector<int>(149, 0), {18, 138, 18, 11}},
                                           RleCase{{3, 0, 0, 0, 4}, {3, 17, 3, 4}}));

}  // namespace
