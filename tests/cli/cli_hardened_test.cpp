// Hardened archives from the command line, at the real cost: create, change
// and passwd keep them hardened, zip-password gives the key other ZIP tools
// open them with, and an empty new password needs --no-password.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliHardenedTest : public CliTest {
 protected:
  std::string Key(const std::string& password) {
    const TProcessResult r = Cli({"zip-password", "keys.zip"}, password + "\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.size(), 65u) << r.out;
    return r.out.substr(0, 64);
  }
};

TEST_F(CliHardenedTest, RoundTripAndOtherToolsOpenItWithTheKeyOnly) {
  ASSERT_EQ(Cli({"create", "keys.zip", "--encryption", "hardened"}, "pw\npw\n").status, 0);
  AddSite(Path("keys.zip"), "pw", {"Bank", "--user", "joe"}, "s3cret");
  EXPECT_EQ(Cli({"info", "keys.zip"}, "pw\n").out,
            "Encryption: AES-256 hardened\nSites: 1\nMembers: 2\n  Data\n  Data.changes\n");
  EXPECT_EQ(Cli({"list", "keys.zip"}, "wrong\n").status, 2);
  const std::string key = Key("pw");
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos);
  // The key is no password of the archive itself.
  EXPECT_EQ(Cli({"list", "keys.zip"}, key + "\n").status, 2);
  if (HaveTool("7z")) {
    EXPECT_EQ(Shell("7z t -p" + key + " keys.zip >/dev/null").status, 0);
    EXPECT_NE(Shell("7z t -ppw keys.zip >/dev/null 2>&1").status, 0);
  }
  if (HaveTool("bsdtar")) {
    const TProcessResult data = Shell("bsdtar -xOf keys.zip --passphrase " + key + " Data");
    EXPECT_EQ(data.out, "Bank=joe\ts3cret\t\t\r\n");
    EXPECT_NE(Shell("bsdtar -xOf keys.zip --passphrase pw Data 2>/dev/null").status, 0);
  }
  // A changed archive keeps its key; a new password gets a new one.
  EXPECT_EQ(Key("pw"), key);
  ASSERT_EQ(Cli({"passwd", "keys.zip"}, "pw\nnew\nnew\n").status, 0);
  EXPECT_EQ(Cli({"info", "keys.zip"}, "new\n").out.substr(0, 30), "Encryption: AES-256 hardened\nS");
  EXPECT_NE(Key("new"), key);
}

TEST_F(CliHardenedTest, ZipPasswordRefusesAnArchiveThatIsNotHardened) {
  MakeArchive("keys.zip", "pw");
  const TProcessResult r = Cli({"zip-password", "keys.zip"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is not hardened (traditional)"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliHardenedTest, AnEmptyNewPasswordNeedsNoPasswordOption) {
  const TProcessResult refused = Cli({"create", "keys.zip"}, "\n\n");
  EXPECT_EQ(refused.status, 64);
  EXPECT_NE(refused.err.find("--no-password"), std::string::npos);
  EXPECT_NE(Shell("test -e keys.zip").status, 0);
  // --no-password reads no line: the two lines go unread.
  ASSERT_EQ(Cli({"create", "keys.zip", "--no-password"}).status, 0);
  MakeArchive("other.zip", "pw");
  EXPECT_EQ(Cli({"passwd", "other.zip"}, "pw\n\n\n").status, 64);
  EXPECT_EQ(Cli({"list", "other.zip"}, "pw\n").status, 0);  // left as it was
  ASSERT_EQ(Cli({"passwd", "other.zip", "--no-password"}, "pw\n").status, 0);
  EXPECT_EQ(Cli({"info", "other.zip"}).out.substr(0, 17), "Encryption: none\n");
}

}  // namespace
}  // namespace cli_test
