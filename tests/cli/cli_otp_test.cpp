// totp and report: the code a site's notes give, the errors for notes
// without one or with a broken one, and the report that keeps passwords
// hidden unless asked.
#include <gtest/gtest.h>

#include "cli_fixture.h"
#include "core/totp.h"

namespace cli_test {
namespace {

class CliOtpTest : public CliTest {};

TEST_F(CliOtpTest, TotpWritesTheCurrentCodeAndSecondsLeft) {
  const std::string archive = MakeArchive();
  const std::string uri = "otpauth://totp/Bank:joe?secret=JBSWY3DPEHPK3PXP&digits=8";
  AddSite(archive, "pw", {"Bank", "--notes", "pin 1\n" + uri}, "s3cret");
  const TTotpParams params = ParseTotp(uri);
  const std::int64_t before = UnixNow();
  const TProcessResult plain = Cli({"totp", archive, "bank"}, "pw\n");
  const TProcessResult timed = Cli({"totp", archive, "Bank", "--seconds"}, "pw\n");
  const std::int64_t after = UnixNow();
  ASSERT_EQ(plain.status, 0) << plain.err;
  ASSERT_EQ(timed.status, 0) << timed.err;
  EXPECT_TRUE(plain.out == TotpCode(params, before) + "\n" ||
              plain.out == TotpCode(params, after) + "\n")
      << plain.out;
  ASSERT_GE(timed.out.size(), 11u) << timed.out;
  EXPECT_EQ(timed.out[8], ' ') << timed.out;
  const int seconds = std::stoi(timed.out.substr(9));
  EXPECT_GE(seconds, 1);
  EXPECT_LE(seconds, 30);
}

TEST_F(CliOtpTest, TotpRefusesNotesWithoutOrWithABrokenCode) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Plain", "--notes", "nothing"}, "a");
  AddSite(archive, "pw", {"Broken", "--notes", "TOTP: otpauth://totp/x?secret=JBSW&digits=12"},
          "b");
  const TProcessResult none = Cli({"totp", archive, "Plain"}, "pw\n");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.err, "vornix-cli: " + NoTotpText("Plain") + "\n");
  const TProcessResult broken = Cli({"totp", archive, "Broken"}, "pw\n");
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err,
            "vornix-cli: site \"Broken\": The one-time code must have 6 to 8 digits.\n");
  EXPECT_EQ(broken.out, "");
}

TEST_F(CliOtpTest, ReportListsProblemsAndShowsPasswordsOnlyWhenAsked) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"forum"}, "123456");
  AddSite(archive, "pw", {"bank"}, "Tr0ub4dor&3-Zebra-Quilt");
  AddSite(archive, "pw", {"mail"}, "Tr0ub4dor&3-Zebra-Quilt");
  AddSite(archive, "pw", {"solo"}, "vK9#pLz!2mQx@7Tw");
  const std::string expected =
      "Weak password (1):\n"
      "  forum  (changed: unknown)\n"
      "Reused password (1 group):\n"
      "  1: bank, mail\n";
  const TProcessResult hidden = Cli({"report", archive}, "pw\n");
  EXPECT_EQ(hidden.status, 0) << hidden.err;
  EXPECT_EQ(hidden.out, expected);
  const TProcessResult shown = Cli({"report", archive, "--show-passwords"}, "pw\n");
  EXPECT_EQ(shown.out,
            "Weak password (1):\n"
            "  forum  (changed: unknown)  password: 123456\n"
            "Reused password (1 group):\n"
            "  1: bank, mail  password: Tr0ub4dor&3-Zebra-Quilt\n");
}

}  // namespace
}  // namespace cli_test
