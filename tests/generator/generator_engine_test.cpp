#include "generator/generator_engine.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "random_fixture.h"

namespace {

struct TemplateCase {
  const char* name;
  std::uint32_t seed;
  std::string templ;
  std::string special;
  std::string expected;
  int draws;
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << c.name; }

using Template = DrawTest<TemplateCase>;

TEST_P(Template, ExpandsWithExactDraws) {
  ExpectDraws([](const TemplateCase& c) { return ExpandTemplate(c.templ, c.special); });
}

// Expected texts come from an independent model of the generator.
INSTANTIATE_TEST_SUITE_P(
    Draws, Template,
    testing::Values(TemplateCase{"EveryKind", 45296789, "AaCcVv9$-x", "#!%", "MhKbUi1!", 8},
                    TemplateCase{"OthersProduceNothing", 0, "A-b 9", "#", "A0", 2},
                    TemplateCase{"EmptySpecialGivesCapital", 0, "$", "", "A", 2},
                    TemplateCase{"Empty", 5, "", "#", "", 0},
                    TemplateCase{"NothingRecognised", 5, "xyz 123 @", "#", "", 0},
                    TemplateCase{"MultiByteDrawnWhole", 7, "$$$$$$$$", "#\xe2\x82\xac!",
                                 "#!#!###\xe2\x82\xac", 8},
                    TemplateCase{"MultiByteInTemplateIgnored", 0, "\xc3\x84", "#", "", 0}),
    CaseName<TemplateCase>);

struct ClassCase {
  const char* name;
  std::uint32_t seed;
  bool upper, lower, numbers, special;
  std::string specialChars;
  int length;
  std::string expected;
  int draws;
};

void PrintTo(const ClassCase& c, std::ostream* os) { *os << c.name; }

using Classes = DrawTest<ClassCase>;

TEST_P(Classes, GeneratesWithExactDraws) {
  ExpectDraws([](const ClassCase& c) {
    return GenerateFromClasses(c.upper, c.lower, c.numbers, c.special, c.specialChars, c.length);
  });
}

INSTANTIATE_TEST_SUITE_P(
    Draws, Classes,
    testing::Values(
        ClassCase{"AllFour", 12345, true, true, true, true, "#$%", 12, "guN48uuXE#%l", 24},
        ClassCase{"NoneMeansAllFour", 12345, false, false, false, false, "#$%", 12, "guN48uuXE#%l",
                  24},
        ClassCase{"OnlySpecialButEmpty", 12345, false, false, false, true, "", 5, "LAZGN", 15},
        ClassCase{"ZeroLength", 3, true, true, true, true, "#", 0, "", 0},
        ClassCase{"NegativeLength", 3, true, true, true, true, "#", -4, "", 0}),
    CaseName<ClassCase>);

using ClassDraws = RandomTest;

TEST_F(ClassDraws, ClassPicksComeFirstEvenForOneClass) {
  SetRandomSeed(99);
  const std::string password = GenerateFromClasses(false, false, true, false, "", 9);
  ASSERT_EQ(password.size(), 9u);
  // Nine range-1 class draws, then nine digit draws from where they left off.
  std::uint32_t seed = 99;
  for (int i = 0; i < 9; ++i) seed = seed * 134775813u + 1u;
  SetRandomSeed(seed);
  EXPECT_EQ(ExpandTemplate("999999999", ""), password);
}

using Options = RandomTest;

TEST_F(Options, TemplateModeIgnoresClassesAndLength) {
  TGenOptions options;
  options.useTemplate = true;
  options.templ = "";
  options.length = 20;
  EXPECT_EQ(GeneratePassword(options), "");
  EXPECT_EQ(RandomSeed(), 0u);
}

TEST_F(Options, ClassModeIgnoresTemplate) {
  TGenOptions options;
  options.templ = "AAAA";
  options.specialChars = "#$%";
  options.length = 12;
  SetRandomSeed(12345);
  EXPECT_EQ(GeneratePassword(options), "guN48uuXE#%l");
}

TEST_F(Options, SpecialCharactersAreLiteral) {
  SetRandomMode(RandomMode::System);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(ExpandTemplate("$", "A"), "A");
  EXPECT_EQ(ExpandTemplate("$$$", "9"), "999");
}

using Distribution = RandomTest;

TEST_F(Distribution, RepeatedSpecialCharacterIsTwiceAsLikely) {
  SetRandomSeed(1);
  std::map<char, int> counts;
  for (char c : ExpandTemplate(std::string(3000, '$'), "##$")) ++counts[c];
  EXPECT_EQ(counts['#'] + counts['$'], 3000);
  EXPECT_NEAR(counts['#'], 2000, 150);
}

TEST_F(Distribution, SystemModeDrawsOnlyFromTheSets) {
  SetRandomMode(RandomMode::System);
  const std::string password = ExpandTemplate(std::string(500, 'C') + std::string(500, 'v'), "");
  ASSERT_EQ(password.size(), 1000u);
  for (std::size_t i = 0; i < 500; ++i) {
    EXPECT_NE(std::string_view("BCDFGHJKLMNPQRSTVWXZ").find(password[i]), std::string_view::npos);
    EXPECT_NE(std::string_view("aeiouy").find(password[500 + i]), std::string_view::npos);
  }
}

TEST_F(Distribution, PickCharOfEmptySetGivesCapitalLetter) {
  SetRandomMode(RandomMode::System);
  for (int i = 0; i < 100; ++i) {
    const std::string c = PickChar("");
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(c[0] >= 'A' && c[0] <= 'Z') << c;
  }
}

TEST_F(Distribution, InvalidByteCountsAsOneCharacter) {
  SetRandomMode(RandomMode::System);
  std::set<std::string> seen;
  for (int i = 0; i < 300; ++i) seen.insert(PickChar("\xff\xc3\xa9"));
  EXPECT_EQ(seen, (std::set<std::string>{"\xff", "\xc3\xa9"}));
}

}  // namespace
