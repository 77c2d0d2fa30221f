// Saves the program refuses (a site list no read would take) and saves it
// makes while a backup cannot be kept.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "archive/zip/site_list_member.h"
#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliSaveTest : public CliTest {};

TEST_F(CliSaveTest, ImportTooLargeToSaveIsRefusedAndNothingIsWritten) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank"}, "pw1");  // so that a backup exists
  const std::string before = ReadFile(archive);
  const std::string backup = ReadFile(Path("keys.backup.zip"));
  // Two sites whose notes add up to just over what a read takes.
  const std::string notes(kMaxSiteListSize / 2, 'n');
  WriteFile(Path("in.csv"), "site,user,password,url,notes\r\nA,,,," + notes + "\r\nB,,,," + notes +
                                "\r\n");
  const TProcessResult r = Cli({"import", archive, "--csv", "in.csv"}, "pw\n");
  EXPECT_EQ(r.status, 65);
  const std::string limit = " bytes, at most " + std::to_string(kMaxSiteListSize) + ")\n";
  EXPECT_EQ(r.err.rfind("vornix-cli: The site list is too large to save (", 0), 0u) << r.err;
  ASSERT_GT(r.err.size(), limit.size());
  EXPECT_EQ(r.err.substr(r.err.size() - limit.size()), limit);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile(archive), before);
  EXPECT_EQ(ReadFile(Path("keys.backup.zip")), backup);
  EXPECT_EQ(Shell("ls -A").out, "in.csv\nkeys.backup.zip\nkeys.zip\n");
}

TEST_F(CliSaveTest, BackupNameThatIsNotOursIsWarnedOfAndTheChangeSaved) {
  const std::string archive = MakeArchive();
  ASSERT_EQ(::mkfifo(Path("keys.backup.zip").c_str(), 0600), 0);
  const TProcessResult r = Cli({"add", archive, "Bank", "--user", "joe"}, "pw\nsecret\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "vornix-cli: warning: The backup " + Path("keys.backup.zip") +
                       " was not made: its name is held by something that is not a regular "
                       "file\n");
  EXPECT_EQ(Dump(archive), "Bank=joe\tsecret\t\t\r\n");
  struct stat st {};
  ASSERT_EQ(::lstat(Path("keys.backup.zip").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

}  // namespace
}  // namespace cli_test
