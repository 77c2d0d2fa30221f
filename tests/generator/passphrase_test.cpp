// Passphrases: the embedded word list, the uniform draw over it, and the
// shape of what is made.
#include "generator/passphrase.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "generator/word_list.h"

namespace {

// A source that hands out 0, 1, 2, ... in turn (modulo the range asked for)
// and records every range.
std::uint32_t g_next = 0;
std::vector<std::uint32_t> g_ranges;
std::uint32_t Counting(std::uint32_t range) {
  g_ranges.push_back(range);
  return range == 0 ? 0 : g_next++ % range;
}

class PassphraseTest : public testing::Test {
 protected:
  void SetUp() override {
    g_next = 0;
    g_ranges.clear();
  }
  static std::vector<std::string> Split(const std::string& phrase, char separator) {
    std::vector<std::string> words;
    std::istringstream in(phrase);
    for (std::string word; std::getline(in, word, separator);) words.push_back(word);
    return words;
  }
};

TEST_F(PassphraseTest, TheListIsTheEffLargeList) {
  const auto words = PassphraseWords();
  ASSERT_EQ(words.size(), 7776u);
  EXPECT_EQ(words.front(), "abacus");
  EXPECT_EQ(words.back(), "zoom");
  EXPECT_EQ(std::set<std::string_view>(words.begin(), words.end()).size(), words.size());
  EXPECT_EQ(std::count_if(words.begin(), words.end(),
                          [](std::string_view w) { return w.find('-') != w.npos; }),
            4);
}

TEST_F(PassphraseTest, EveryWordIsDrawnOnceInOneCycleOfTheSource) {
  // With a source that counts through the range, 7,776 one-word phrases
  // give each word exactly once: the draw maps every value to its own word
  // and asks for the whole list, no more, no less.
  std::set<std::string> seen;
  for (std::size_t i = 0; i < kPassphraseWordCount; ++i)
    seen.insert(GeneratePassphrase({.words = 1}, Counting));
  EXPECT_EQ(seen.size(), kPassphraseWordCount);
  EXPECT_TRUE(std::all_of(g_ranges.begin(), g_ranges.end(),
                          [](std::uint32_t r) { return r == kPassphraseWordCount; }));
}

TEST_F(PassphraseTest, SystemDrawsAreUniformOverTheList) {
  // 20 draws per word on average; a chi-square with 7,775 degrees of freedom
  // has a standard deviation of about 125, so 8,800 is 8 deviations away:
  // a fair source never fails, a biased one (a word never drawn, or one
  // half of the list twice as likely) lands far above.
  constexpr int kPhrases = 20 * 7776 / 6;
  std::map<std::string, int> counts;
  for (int i = 0; i < kPhrases; ++i) {
    for (const std::string& word : Split(GeneratePassphrase({}), ' ')) ++counts[word];
  }
  const double expected = kPhrases * 6.0 / kPassphraseWordCount;
  double chiSquare = 0;
  for (const std::string_view word : PassphraseWords()) {
    const auto found = counts.find(std::string(word));
    const double observed = found == counts.end() ? 0 : found->second;
    chiSquare += (observed - expected) * (observed - expected) / expected;
  }
  EXPECT_EQ(counts.size(), kPassphraseWordCount);  // every word drawn, none from elsewhere
  EXPECT_LT(chiSquare, 8800);
  EXPECT_GT(chiSquare, 6800);  // too even is as wrong as too uneven
}

TEST_F(PassphraseTest, SeparatorCapitalsAndDigit) {
  const std::string phrase =
      GeneratePassphrase({.words = 4, .separator = "+", .capitals = true, .digit = true});
  const std::vector<std::string> words = Split(phrase, '+');
  ASSERT_EQ(words.size(), 4u) << phrase;
  int digits = 0;
  for (const std::string& word : words) {
    ASSERT_FALSE(word.empty()) << phrase;
    EXPECT_TRUE(std::isupper(static_cast<unsigned char>(word[0]))) << phrase;
    digits += static_cast<int>(std::count_if(word.begin(), word.end(), ::isdigit));
  }
  EXPECT_EQ(digits, 1) << phrase;
}

}  // namespace
