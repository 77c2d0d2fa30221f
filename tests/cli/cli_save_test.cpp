// A save made while a backup cannot be kept.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliSaveTest : public CliTest {};

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
