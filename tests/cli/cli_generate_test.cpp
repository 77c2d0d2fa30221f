// generate: length, classes and templates of the passwords it writes.
#include <gtest/gtest.h>

#include <regex>

#include "cli_fixture.h"

namespace cli_test {
namespace {

struct GenerateCase {
  const char* name;
  std::vector<std::string> args;
  const char* pattern;  // the whole password, without the line break
};

class CliGenerateTest : public CliTest, public ::testing::WithParamInterface<GenerateCase> {};

TEST_P(CliGenerateTest, WritesOnePasswordOfTheAskedForm) {
  std::vector<std::string> args{"generate"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  // Several runs, so that a class left out would most likely show up.
  for (int run = 0; run < 3; ++run) {
    const TProcessResult r = Cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.out.empty());
    ASSERT_EQ(r.out.back(), '\n');
    const std::string password = r.out.substr(0, r.out.size() - 1);
    EXPECT_TRUE(std::regex_match(password, std::regex(GetParam().pattern))) << password;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CliGenerateTest,
    ::testing::Values(
        GenerateCase{"Default", {}, "[A-Za-z0-9]{16}"},
        GenerateCase{"LengthOne", {"--length", "1"}, "[A-Za-z0-9]"},
        GenerateCase{"LengthMax", {"--length=1024"}, "[A-Za-z0-9]{1024}"},
        GenerateCase{"DigitsOnly", {"--digits", "--length", "40"}, "[0-9]{40}"},
        GenerateCase{"UpperOnly", {"--upper", "--length", "40"}, "[A-Z]{40}"},
        GenerateCase{"LowerAndDigits", {"--lower", "--digits", "--length", "40"}, "[a-z0-9]{40}"},
        GenerateCase{"SpecialOnly", {"--special", "#%", "--length", "30"}, "[#%]{30}"},
        GenerateCase{
            "UpperAndSpecial", {"--upper", "--special", "-", "--length", "30"}, "[A-Z-]{30}"},
        GenerateCase{"Template",
                     {"--template", "Cvcv-99$", "--special", "!"},
                     "[B-DF-HJ-NP-TV-XZ][aeiouy][b-df-hj-np-tv-xz][aeiouy][0-9]{2}!"},
        GenerateCase{"TemplateSpecialWithoutSet", {"--template", "$$"}, "[A-Z]{2}"},
        GenerateCase{"Words", {"--words", "6"}, "[a-z-]+( [a-z-]+){5}"},
        GenerateCase{"WordsSeparatorCapitals",
                     {"--words", "3", "--separator", "_", "--capitals"},
                     "[A-Z][a-z-]*(_[A-Z][a-z-]*){2}"},
        GenerateCase{"WordsDigit",
                     {"--words=2", "--digit", "--separator", "."},
                     "[a-z-]+[0-9]\\.[a-z-]+|[a-z-]+\\.[a-z-]+[0-9]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliGenerateSource, TwoRunsDiffer) {
  // 16 characters from 62: equal twice only if the source is not random.
  const std::string a = RunProcess({VORNIX_CLI_PATH, "generate"}, "").out;
  const std::string b = RunProcess({VORNIX_CLI_PATH, "generate"}, "").out;
  EXPECT_NE(a, b);
}

}  // namespace
}  // namespace cli_test
