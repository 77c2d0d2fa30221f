// strength, and passphrases through add and edit.
#include <gtest/gtest.h>

#include <regex>

#include "cli_fixture.h"

namespace cli_test {
namespace {

struct StrengthCase {
  const char* name;
  std::vector<std::string> args;  // after "strength"
  const char* input;
  const char* out;
};

class CliStrengthTest : public CliTest, public ::testing::WithParamInterface<StrengthCase> {};

TEST_P(CliStrengthTest, PrintsBitsAndTheGuessTime) {
  std::vector<std::string> args{"strength"};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const TProcessResult r = Cli(args, GetParam().input);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, GetParam().out);
  EXPECT_EQ(r.err, "");  // no prompt and no echo of the password off a terminal
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, CliStrengthTest,
    ::testing::Values(
        StrengthCase{"EveryWrittenEncryption",
                     {},
                     "Tr0ub4dor&3\n",
                     "Strength: 47 bits\n"
                     "traditional: breakable without the password (known-plaintext attack)\n"
                     "AES-256: 27 days for one GPU\n"
                     "AES-256 hardened: 4,700 years for one GPU\n"},
        StrengthCase{"WeakAgainstAes",
                     {"--encryption", "aes256"},
                     "password\n",
                     "Strength: 0 bits (weak)\nAES-256: less than a second for one GPU\n"},
        StrengthCase{"NameAsDisplayed",
                     {"--encryption=AES-128"},
                     "x7$Kq!2mZp#9Lw\r\n",
                     "Strength: 85 bits\nAES-128: more than a million years for one GPU\n"},
        StrengthCase{"HardenedAsTheSavingCommandsNameIt",
                     {"--encryption", "hardened"},
                     "Tr0ub4dor&3\n",
                     "Strength: 47 bits\nAES-256 hardened: 4,700 years for one GPU\n"},
        StrengthCase{"None",
                     {"--encryption", "none"},
                     "abc\n",
                     "Strength: 3 bits (weak)\nnone: no encryption: readable by anyone\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliTest, StrengthRefusesAnUnknownEncryptionAndMissingInput) {
  const TProcessResult unknown = Cli({"strength", "--encryption", "rot13"}, "pw\n");
  EXPECT_EQ(unknown.status, 64);
  EXPECT_NE(unknown.err.find("--encryption must be one of none, traditional, aes128, aes192, "
                             "aes256, aes256 hardened, not \"rot13\""),
            std::string::npos)
      << unknown.err;
  const TProcessResult empty = Cli({"strength"}, "");
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.out, "");
}

TEST_F(CliTest, AddAndEditGeneratePassphrases) {
  const std::string archive = MakeArchive();
  ASSERT_EQ(Cli({"add", archive, "Bank", "--generate", "--words", "5", "--separator", "-"}, "pw\n")
                .status,
            0);
  const std::string added = Cli({"show", archive, "Bank", "--field", "password"}, "pw\n").out;
  EXPECT_TRUE(std::regex_match(added, std::regex("[a-z-]+(-[a-z-]+){4}\n"))) << added;
  ASSERT_EQ(
      Cli({"edit", archive, "Bank", "--generate", "--words", "3", "--capitals"}, "pw\n").status, 0);
  const std::string edited = Cli({"show", archive, "Bank", "--field", "password"}, "pw\n").out;
  EXPECT_TRUE(std::regex_match(edited, std::regex("[A-Z][a-z-]*( [A-Z][a-z-]*){2}\n"))) << edited;
}

}  // namespace
}  // namespace cli_test
