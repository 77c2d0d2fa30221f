#include "cli/arg_parser.h"

#include <gtest/gtest.h>

#include "cli/cli_error.h"

namespace cli {
namespace {

const std::vector<TOptionDef> kSpecs = {{"user", true}, {"generate", false}, {"csv", true}};

TEST(ArgParserTest, SeparatesPositionalsSwitchesAndValues) {
  const TParsedArgs a =
      ParseArgs("add", {"keys.zip", "--user", "joe", "Bank", "--generate"}, kSpecs);
  EXPECT_EQ(a.positionals, (std::vector<std::string>{"keys.zip", "Bank"}));
  EXPECT_EQ(a.Value("user"), "joe");
  EXPECT_TRUE(a.Has("generate"));
  EXPECT_EQ(a.Value("generate"), "");
  EXPECT_FALSE(a.Has("csv"));
  EXPECT_FALSE(a.helpAsked);
}

TEST(ArgParserTest, ValueAfterEqualsMayBeEmptyOrHoldEquals) {
  const TParsedArgs a = ParseArgs("x", {"--user=a=b", "--csv="}, kSpecs);
  EXPECT_EQ(a.Value("user"), "a=b");
  EXPECT_EQ(a.Value("csv"), "");
}

TEST(ArgParserTest, SeparateValueMayStartWithADash) {
  const TParsedArgs a = ParseArgs("x", {"--csv", "-", "--user", "--generate"}, kSpecs);
  EXPECT_EQ(a.Value("csv"), "-");
  EXPECT_EQ(a.Value("user"), "--generate");
  EXPECT_FALSE(a.Has("generate"));
}

TEST(ArgParserTest, DoubleDashEndsOptionsAndLoneDashIsPositional) {
  const TParsedArgs a = ParseArgs("x", {"-", "--", "--user", "-h"}, kSpecs);
  EXPECT_EQ(a.positionals, (std::vector<std::string>{"-", "--user", "-h"}));
  EXPECT_FALSE(a.Has("user"));
  EXPECT_FALSE(a.helpAsked);
}

TEST(ArgParserTest, HelpInEitherForm) {
  EXPECT_TRUE(ParseArgs("x", {"a", "-h"}, kSpecs).helpAsked);
  EXPECT_TRUE(ParseArgs("x", {"--help", "a"}, kSpecs).helpAsked);
}

struct BadArgsCase {
  std::vector<std::string> args;
  const char* message;
};

class ArgParserErrorTest : public ::testing::TestWithParam<BadArgsCase> {};

TEST_P(ArgParserErrorTest, IsAUsageErrorOfTheCommand) {
  try {
    ParseArgs("add", GetParam().args, kSpecs);
    FAIL() << "no error";
  } catch (const EUsageError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
    EXPECT_EQ(e.Command(), "add");
    EXPECT_EQ(e.ExitCode(), kExitUsage);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Args, ArgParserErrorTest,
    ::testing::Values(
        BadArgsCase{{"--bogus"}, "unknown option --bogus"},
        BadArgsCase{{"--bogus=1"}, "unknown option --bogus"},
        BadArgsCase{{"-x"}, "unknown option -x"},
        BadArgsCase{{"--user"}, "option --user needs a value"},
        BadArgsCase{{"--generate=yes"}, "option --generate takes no value"},
        BadArgsCase{{"--user", "a", "--user=b"}, "option --user is given more than once"},
        BadArgsCase{{"--generate", "--generate"}, "option --generate is given more than once"}));

}  // namespace
}  // namespace cli
