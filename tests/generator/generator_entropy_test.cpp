// The exact entropy of generated passwords, against hand-counted choices.
#include "generator/generator_entropy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

struct EntropyCase {
  const char* name;
  TGenOptions options;
  double bits;
};

// Class mode with the given classes, special set and length.
TGenOptions Classes(bool upper, bool lower, bool numbers, bool special, const char* specials,
                    int length) {
  TGenOptions o;
  std::tie(o.upper, o.lower, o.numbers, o.special, o.specialChars, o.length) =
      std::tuple(upper, lower, numbers, special, specials, length);
  return o;
}

TGenOptions Template(const char* templ, const char* specials) {
  TGenOptions o;
  std::tie(o.useTemplate, o.templ, o.specialChars) = std::tuple(true, templ, specials);
  return o;
}

// Words mode comes before template mode, so that is left on.
TGenOptions Words(int count, bool digit) {
  TGenOptions o;
  std::tie(o.useWords, o.useTemplate, o.words.words, o.words.digit) =
      std::tuple(true, true, count, digit);
  return o;
}

class GeneratedEntropyTest : public testing::TestWithParam<EntropyCase> {};

TEST_P(GeneratedEntropyTest, IsTheEntropyOfTheDraw) {
  EXPECT_NEAR(GeneratedEntropyBits(GetParam().options), GetParam().bits, 1e-9);
}

const double kL26 = std::log2(26.0);

INSTANTIATE_TEST_SUITE_P(
    Modes, GeneratedEntropyTest,
    testing::Values(
        EntropyCase{"digits", Classes(false, false, true, false, "", 10), 10 * std::log2(10.0)},
        // A class first (1 of 2), then a letter of it: 52 equally likely.
        EntropyCase{"letters", Classes(true, true, false, false, "", 9), 9 * std::log2(52.0)},
        // Uneven: a quarter each for 26, 26, 10 and 2 outcomes.
        EntropyCase{"four classes", Classes(true, true, true, true, "#$", 1),
                    2 + (kL26 + kL26 + std::log2(10.0) + 1) / 4},
        // No class chosen means all four; an empty special set draws
        // uppercase letters, so uppercase letters come at 1/52 each (half
        // the draws), lowercase at 1/104 and digits at 1/40.
        EntropyCase{"none chosen", Classes(false, false, false, false, "", 1),
                    0.5 * std::log2(52.0) + 0.25 * std::log2(104.0) + 0.25 * std::log2(40.0)},
        // A special set of one character typed twice gives nothing to guess.
        EntropyCase{"one special", Classes(false, false, false, true, "!!", 8), 0},
        EntropyCase{"template", Template("Cv9$x", "€!"),
                    std::log2(20.0) + std::log2(6.0) + std::log2(10.0) + 1},
        EntropyCase{"six words", Words(6, false), 6 * std::log2(7776.0)},
        EntropyCase{"four words and a digit", Words(4, true),
                    4 * std::log2(7776.0) + std::log2(40.0)}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

}  // namespace
