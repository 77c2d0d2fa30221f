// The command line itself: help, usage errors and their exit status 64.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

constexpr int kExitUsage = 64;

class CliUsageTest : public CliTest {};

TEST_F(CliUsageTest, NoArgumentsGivesTheGeneralUsageOnStandardError) {
  const TProcessResult r = Cli({});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("vornix-cli: no command given\n\nNAME\n", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("EXIT STATUS"), std::string::npos);
}

TEST_F(CliUsageTest, UnknownCommandIsAUsageError) {
  const TProcessResult r = Cli({"frobnicate", "keys.zip"});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_NE(r.err.find("unknown command \"frobnicate\""), std::string::npos) << r.err;
}

TEST_F(CliUsageTest, GeneralHelpGoesToStandardOutput) {
  for (const char* word : {"--help", "-h", "help"}) {
    const TProcessResult r = Cli({word});
    EXPECT_EQ(r.status, 0) << word;
    EXPECT_EQ(r.out.rfind("NAME\n    vornix-cli", 0), 0u) << word;
    EXPECT_EQ(r.err, "") << word;
  }
}

TEST_F(CliUsageTest, VersionIsPrinted) {
  const TProcessResult r = Cli({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("vornix-cli ", 0), 0u);
}

// Every command: --help, "help COMMAND" and a missing argument.
struct CommandCase {
  const char* command;
  std::vector<std::string> missingArgs;  // arguments that leave one out
  const char* missingMessage;
};

class CliCommandUsageTest : public CliTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CliCommandUsageTest, HelpPrintsTheCommandsUsage) {
  const std::string usage = std::string("Usage: vornix-cli ") + GetParam().command;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{GetParam().command, "--help"},
        std::vector<std::string>{GetParam().command, "keys.zip", "-h"},
        std::vector<std::string>{"help", GetParam().command}}) {
    const TProcessResult r = Cli(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(usage, 0), 0u) << r.out;
    EXPECT_EQ(r.err, "");
  }
}

TEST_P(CliCommandUsageTest, MissingArgumentIsAUsageErrorWithTheUsage) {
  const TProcessResult r = Cli(GetParam().missingArgs);
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind(std::string("vornix-cli: ") + GetParam().missingMessage +
                            "\n\nUsage: vornix-cli " + GetParam().command,
                        0),
            0u)
      << r.err;
}

TEST_P(CliCommandUsageTest, UnknownOptionIsAUsageError) {
  std::vector<std::string> args = GetParam().missingArgs;
  args.push_back("--bogus");
  const TProcessResult r = Cli(args);
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_NE(r.err.find("Usage: vornix-cli " + std::string(GetParam().command)), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliCommandUsageTest,
    ::testing::Values(CommandCase{"list", {"list"}, "ARCHIVE is missing"},
                      CommandCase{"show", {"show", "keys.zip"}, "SITE is missing"},
                      CommandCase{"dump", {"dump"}, "ARCHIVE is missing"},
                      CommandCase{"info", {"info"}, "ARCHIVE is missing"},
                      CommandCase{"add", {"add", "keys.zip"}, "SITE is missing"},
                      CommandCase{"edit", {"edit", "keys.zip"}, "SITE is missing"},
                      CommandCase{"rm", {"rm", "keys.zip"}, "SITE is missing"},
                      CommandCase{
                          "generate", {"generate", "extra"}, "unexpected argument \"extra\""},
                      CommandCase{"passwd", {"passwd"}, "ARCHIVE is missing"},
                      CommandCase{"export", {"export", "keys.zip"}, "--csv FILE is missing"},
                      CommandCase{"import", {"import", "keys.zip"}, "--csv FILE is missing"},
                      CommandCase{"create", {"create"}, "ARCHIVE is missing"}),
    [](const auto& info) { return std::string(info.param.command); });

// Option values that are refused before any file is touched.
struct BadOptionCase {
  std::vector<std::string> args;
  const char* message;
};

class CliBadOptionTest : public CliTest, public ::testing::WithParamInterface<BadOptionCase> {};

TEST_P(CliBadOptionTest, IsAUsageError) {
  const TProcessResult r = Cli(GetParam().args);
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.err.rfind(std::string("vornix-cli: ") + GetParam().message + "\n", 0), 0u) << r.err;
  EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliBadOptionTest,
    ::testing::Values(
        BadOptionCase{{"generate", "--length", "0"},
                      "--length needs a whole number from 1 to 1024, not \"0\""},
        BadOptionCase{{"generate", "--length", "1025"},
                      "--length needs a whole number from 1 to 1024, not \"1025\""},
        BadOptionCase{{"generate", "--length", "12x"},
                      "--length needs a whole number from 1 to 1024, not \"12x\""},
        BadOptionCase{{"generate", "--length"}, "option --length needs a value"},
        BadOptionCase{{"generate", "--upper=yes"}, "option --upper takes no value"},
        BadOptionCase{{"generate", "--special", ""}, "--special needs at least one character"},
        BadOptionCase{{"generate", "--template", "Aa9", "--length", "4"},
                      "--template cannot be used with --length"},
        BadOptionCase{{"generate", "--template", "Aa9", "--digits"},
                      "--template cannot be used with --digits"},
        BadOptionCase{{"generate", "--template", "xyz-"},
                      "the template has none of the characters A a C c V v 9 $"},
        BadOptionCase{{"generate", "--digits", "--digits"},
                      "option --digits is given more than once"},
        BadOptionCase{{"add", "keys.zip", "Bank", "--length", "5"},
                      "generator options need --generate"},
        BadOptionCase{{"edit", "keys.zip", "Bank"}, "nothing to change"},
        BadOptionCase{{"edit", "keys.zip", "Bank", "--generate", "--ask-password"},
                      "--ask-password cannot be used with --generate"},
        BadOptionCase{{"show", "keys.zip", "Bank", "--field", "pin"},
                      "--field must be site, user, password, url or notes, not \"pin\""},
        BadOptionCase{{"import", "keys.zip", "--csv", "-"},
                      "import reads a file; standard input carries the passwords"},
        BadOptionCase{{"rm", "keys.zip", "Bank", "--which", "0"},
                      "--which needs a whole number from 1 to 1000000, not \"0\""},
        BadOptionCase{{"add", "keys.zip", "Bank", "--backups", "-1"},
                      "--backups needs a whole number from 0 to 100, not \"-1\""},
        BadOptionCase{{"create", "keys.zip", "--encryption", "aes"},
                      "--encryption must be aes256, hardened or traditional, not \"aes\""},
        BadOptionCase{{"list", "keys.zip", "--force"}, "unknown option --force"}));

}  // namespace
}  // namespace cli_test
