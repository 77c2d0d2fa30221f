#include "cli/gen_options.h"

#include <gtest/gtest.h>

#include "cli/cli_error.h"

namespace cli {
namespace {

TGenOptions OptionsOf(const std::vector<std::string>& args) {
  return GeneratorOptionsFrom("generate", ParseArgs("generate", args, GeneratorOptionDefs()));
}

TEST(GenOptionsTest, NoClassMeansLettersAndDigitsOfLength16) {
  const TGenOptions o = OptionsOf({});
  EXPECT_FALSE(o.useTemplate);
  EXPECT_TRUE(o.upper);
  EXPECT_TRUE(o.lower);
  EXPECT_TRUE(o.numbers);
  EXPECT_FALSE(o.special);
  EXPECT_EQ(o.length, 16);
}

TEST(GenOptionsTest, SpecialAloneIsTheOnlyClass) {
  const TGenOptions o = OptionsOf({"--special", "#$", "--length", "5"});
  EXPECT_FALSE(o.upper || o.lower || o.numbers);
  EXPECT_TRUE(o.special);
  EXPECT_EQ(o.specialChars, "#$");
  EXPECT_EQ(o.length, 5);
}

TEST(GenOptionsTest, TemplateModeKeepsTheSpecialSet) {
  const TGenOptions o = OptionsOf({"--template", "Aa-9$", "--special", "!"});
  EXPECT_TRUE(o.useTemplate);
  EXPECT_EQ(o.templ, "Aa-9$");
  EXPECT_EQ(o.specialChars, "!");
}

TEST(GenOptionsTest, LengthBounds) {
  EXPECT_EQ(OptionsOf({"--length", "1"}).length, 1);
  EXPECT_EQ(OptionsOf({"--length", "1024"}).length, kMaxLength);
  for (const char* bad : {"0", "1025", "-3", "", " 5", "5 ", "0x10", "99999999999"}) {
    EXPECT_THROW(OptionsOf({"--length", bad}), EUsageError) << bad;
  }
}

TEST(GenOptionsTest, WordOptionsRefusedOutOfPlace) {
  const std::vector<std::vector<std::string>> refused = {{"--words", "0"},
                                                         {"--words", "21"},
                                                         {"--words", "six"},
                                                         {"--words", "6", "--length", "9"},
                                                         {"--words", "6", "--template", "A"},
                                                         {"--words", "6", "--upper"},
                                                         {"--words", "6", "--special", "!"},
                                                         {"--separator", "-"},
                                                         {"--capitals"},
                                                         {"--digit", "--length", "5"},
                                                         {"--words", "3", "--separator", "a\tb"},
                                                         {"--words", "3", "--separator", "\n"}};
  for (const auto& args : refused) {
    EXPECT_THROW(OptionsOf(args), EUsageError) << args[0] << " " << args.back();
  }
}

TEST(GenOptionsTest, HasGeneratorOptionsSeesEachOption) {
  EXPECT_FALSE(HasGeneratorOptions(ParseArgs("g", {}, GeneratorOptionDefs())));
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--upper"},
                                               {"--lower"},
                                               {"--digits"},
                                               {"--special", "x"},
                                               {"--length", "3"},
                                               {"--template", "A"},
                                               {"--words", "5"},
                                               {"--separator", "-"},
                                               {"--capitals"},
                                               {"--digit"}}) {
    EXPECT_TRUE(HasGeneratorOptions(ParseArgs("g", args, GeneratorOptionDefs()))) << args[0];
  }
}

}  // namespace
}  // namespace cli
