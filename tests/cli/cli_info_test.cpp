// info, and the encryption an archive is created, kept and changed with.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliInfoTest : public CliTest {
 protected:
  std::string Info(const std::string& password) {
    const TProcessResult r = Cli({"info", "keys.zip"}, password + "\n");
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }
};

TEST_F(CliInfoTest, DescribesATraditionalArchive) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"A"}, "1");
  AddSite(archive, "pw", {"B"}, "2");
  EXPECT_EQ(Info("pw"), "Encryption: traditional\nSites: 2\nMembers: 1\n  Data\n");
  EXPECT_EQ(Cli({"info", "keys.zip"}, "wrong\n").status, 2);
}

TEST_F(CliInfoTest, AsksNoPasswordForAnUnencryptedArchive) {
  MakeArchive("keys.zip", "");
  const TProcessResult r = Cli({"info", "keys.zip"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Encryption: none\nSites: 0\nMembers: 1\n  Data\n");
}

TEST_F(CliInfoTest, AesArchiveStaysAesUntilPasswdChangesIt) {
  ASSERT_EQ(Cli({"create", "keys.zip", "--encryption", "aes256"}, "pw\npw\n").status, 0);
  AddSite(Path("keys.zip"), "pw", {"Bank"}, "p1");
  // AES archives carry the site list's change records beside it.
  EXPECT_EQ(Info("pw"), "Encryption: AES-256\nSites: 1\nMembers: 2\n  Data\n  Data.changes\n");
  EXPECT_EQ(Cli({"list", "keys.zip"}, "pw\n").out, "Bank\n");
  EXPECT_EQ(Cli({"list", "keys.zip"}, "wrong\n").status, 2);

  ASSERT_EQ(Cli({"passwd", "keys.zip"}, "pw\nnew\nnew\n").status, 0);
  EXPECT_EQ(Info("new").rfind("Encryption: AES-256\n", 0), 0u);
  ASSERT_EQ(Cli({"passwd", "keys.zip", "--encryption", "traditional"}, "new\npw\npw\n").status, 0);
  EXPECT_EQ(Info("pw").rfind("Encryption: traditional\n", 0), 0u);
  ASSERT_EQ(Cli({"passwd", "keys.zip", "--encryption", "aes256"}, "pw\npw\npw\n").status, 0);
  EXPECT_EQ(Info("pw").rfind("Encryption: AES-256\n", 0), 0u);
  EXPECT_EQ(Dump(Path("keys.zip")), "Bank=\tp1\t\t\r\n");
}

// An AES archive replaced by a traditional copy with the same password is
// said on standard error, and the next change saves it as AES-256 again; a
// deliberate passwd --encryption traditional is no downgrade.
TEST_F(CliInfoTest, AWeakerCopyOfAnAesArchiveIsToldAndSavedAsAesAgain) {
  ASSERT_EQ(Cli({"create", "keys.zip", "--encryption", "aes256"}, "pw\npw\n").status, 0);
  AddSite(Path("keys.zip"), "pw", {"Bank"}, "p1");
  ASSERT_EQ(Cli({"create", "weak.zip"}, "pw\npw\n").status, 0);
  AddSite(Path("weak.zip"), "pw", {"Bank"}, "p1");
  WriteFile(Path("keys.zip"), ReadFile(Path("weak.zip")));

  TProcessResult r = Cli({"list", "keys.zip"}, "pw\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Bank\n");
  EXPECT_NE(r.err.find("had AES-256 when it was last seen and now has the traditional ZIP "
                       "encryption"),
            std::string::npos)
      << r.err;
  AddSite(Path("keys.zip"), "pw", {"Mail"}, "p2");
  EXPECT_EQ(Info("pw").rfind("Encryption: AES-256\n", 0), 0u);

  ASSERT_EQ(Cli({"passwd", "keys.zip", "--encryption", "traditional"}, "pw\npw\npw\n").status, 0);
  r = Cli({"list", "keys.zip"}, "pw\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Info("pw").rfind("Encryption: traditional\n", 0), 0u);
}

// A changed byte passes the password verifier but not the authentication
// code: nothing is shown, and the message says which check failed.
TEST_F(CliInfoTest, DamagedAesMemberFailsItsAuthenticationCheck) {
  ASSERT_EQ(Cli({"create", "keys.zip", "--encryption", "aes256"}, "pw\npw\n").status, 0);
  AddSite(Path("keys.zip"), "pw", {"Bank", "--notes", std::string(200, 'n')}, "p1");
  std::string bytes = ReadFile(Path("keys.zip"));
  // Past the local header (45 bytes with the AES extra field), salt (16)
  // and verifier (2).
  bytes[66] = static_cast<char>(bytes[66] ^ 0x55);
  WriteFile(Path("keys.zip"), bytes);
  const TProcessResult r = Cli({"list", "keys.zip"}, "pw\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("the password passed the archive's first check but the data did not ("),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("authentication"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace cli_test
