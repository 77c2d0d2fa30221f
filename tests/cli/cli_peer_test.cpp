// Archives made by other ZIP tools open, and archives the command line writes
// open in them: the file format is the standard one.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

constexpr const char* kData = "Bank=joe\tpw1\thttps://bank\tnote\r\nMail=me\tpw2\t\t\r\n";

class CliPeerTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    WriteFile(Path("Data"), kData);
  }
  void RequireTool(const char* tool) {
    if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
  }
};

TEST_F(CliPeerTest, OpensAnArchiveMadeByZipWithAPassword) {
  RequireTool("zip");
  ASSERT_EQ(Shell("zip -q -P secret peer.zip Data").status, 0);
  const TProcessResult r = Cli({"list", "peer.zip"}, "secret\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Bank\nMail\n");
  EXPECT_EQ(Dump(Path("peer.zip"), "secret"), kData);
  EXPECT_EQ(Cli({"list", "peer.zip"}, "Secret\n").status, 2);
}

TEST_F(CliPeerTest, OpensAStoredArchiveMadeByZip) {
  RequireTool("zip");
  ASSERT_EQ(Shell("zip -q -0 -P secret peer.zip Data").status, 0);
  EXPECT_EQ(Dump(Path("peer.zip"), "secret"), kData);
}

TEST_F(CliPeerTest, OpensAnArchiveMadeBy7z) {
  RequireTool("7z");
  ASSERT_EQ(Shell("7z a -tzip -mem=ZipCrypto -psecret peer.zip Data >/dev/null").status, 0);
  EXPECT_EQ(Dump(Path("peer.zip"), "secret"), kData);
  const TProcessResult r = Cli({"show", "peer.zip", "bank", "--field", "url"}, "secret\n");
  EXPECT_EQ(r.out, "https://bank\n");
}

TEST_F(CliPeerTest, ChangedArchiveOpensInUnzipAnd7z) {
  RequireTool("zip");
  RequireTool("unzip");
  RequireTool("7z");
  ASSERT_EQ(Shell("zip -q -P secret peer.zip Data").status, 0);
  ASSERT_EQ(Cli({"add", "peer.zip", "Alpha", "--user", "al"}, "secret\na1\n").status, 0);
  const std::string expected = std::string("Alpha=al\ta1\t\t\r\n") + kData;
  EXPECT_EQ(Shell("unzip -p -P secret peer.zip Data").out, expected);
  EXPECT_EQ(Shell("7z e -so -psecret peer.zip Data 2>/dev/null").out, expected);
  EXPECT_EQ(Shell("unzip -tq -P secret peer.zip").status, 0);
}

// An older archive holds its password as Windows-1252 bytes;
// typed here it arrives as UTF-8, and the retry with its Windows-1252 bytes
// opens it. A change saves it with the bytes that opened it, so it still
// opens with them.
TEST_F(CliPeerTest, Windows1252PasswordOpensAndIsKept) {
  RequireTool("zip");
  RequireTool("unzip");
  ASSERT_EQ(Shell("zip -q -P \"$(printf 'caf\\351')\" peer.zip Data").status, 0);
  const TProcessResult r = Cli({"list", "peer.zip"}, "café\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Bank\nMail\n");
  ASSERT_EQ(Cli({"rm", "peer.zip", "Mail"}, "café\n").status, 0);
  EXPECT_EQ(Shell("unzip -p -P \"$(printf 'caf\\351')\" peer.zip Data").out,
            "Bank=joe\tpw1\thttps://bank\tnote\r\n");
  EXPECT_EQ(Cli({"list", "peer.zip"}, "cafe\n").status, 2);
}

TEST_F(CliPeerTest, ArchiveWithoutDataMemberIsEmpty) {
  RequireTool("zip");
  ASSERT_EQ(Shell("cp Data Other && zip -q -P secret peer.zip Other").status, 0);
  const TProcessResult r = Cli({"list", "peer.zip"}, "");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
}

// Notes stored in a form the program would not write itself (a backslash
// before an ordinary letter) stay byte for byte when other fields change.
TEST_F(CliPeerTest, EditKeepsNotesItDoesNotChange) {
  RequireTool("zip");
  WriteFile(Path("Data"), "Site=u\tp\t\ta\\qb  \r\n");
  ASSERT_EQ(Shell("zip -q -P secret peer.zip Data").status, 0);
  ASSERT_EQ(Cli({"edit", "peer.zip", "Site", "--user", "x"}, "secret\n").status, 0);
  EXPECT_EQ(Dump(Path("peer.zip"), "secret"), "Site=x\tp\t\ta\\qb  \r\n");
}

}  // namespace
}  // namespace cli_test
