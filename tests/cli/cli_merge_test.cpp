// merge: conflict copies folded in and moved into the backups, other
// archives named on the command line, and what is said about each.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_fixture.h"

namespace cli_test {
namespace {

const std::string kCopy = "keys.sync-conflict-20261209-001635-H7X6HMZ.zip";
const std::string kOtherPasswordCopy = "keys (conflicted copy 2026-12-09 001635).zip";
const std::string kBrokenCopy = "keys_conflict-20261209-001635.zip";

class CliMergeTest : public CliTest {
 protected:
  void MakeAes(const std::string& name) {
    ASSERT_EQ(Cli({"create", name, "--encryption", "aes256"}, "pw\npw\n").status, 0);
  }
  void Run(const std::vector<std::string>& args, const std::string& input = "pw\n") {
    const TProcessResult r = Cli(args, input);
    ASSERT_EQ(r.status, 0) << r.err;
  }
  std::vector<std::string> Folder() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path("")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(CliMergeTest, ConflictCopiesAreMergedAndMovedIntoTheBackups) {
  MakeAes("keys.zip");
  AddSite("keys.zip", "pw", {"Mail", "--user", "ann"}, "m1");
  AddSite("keys.zip", "pw", {"Bank"}, "b1");
  WriteFile(Path(kCopy), ReadFile(Path("keys.zip")));
  WriteFile(Path(kOtherPasswordCopy), ReadFile(Path("keys.zip")));
  WriteFile(Path(kBrokenCopy), "no archive");
  Run({"edit", "keys.zip", "Mail", "--ask-password", "--backups", "0"}, "pw\nm2\n");
  Run({"rm", kCopy, "Bank", "--backups", "0"});
  Run({"edit", kCopy, "Mail", "--ask-password", "--backups", "0"}, "pw\nm3\n");
  AddSite(kOtherPasswordCopy, "pw", {"Shop", "--backups", "0"}, "s1");
  Run({"passwd", kOtherPasswordCopy}, "pw\nother\nother\n");

  const TProcessResult r = Cli({"merge", "keys.zip", "--backups", "3"}, "pw\nother\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(kBrokenCopy + " not merged, left where it is"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("deleted: Bank\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("conflict: Mail (ann) changed on both sides; the newer change was kept\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("added: Shop\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("change records"), std::string::npos) << r.out;
  const std::string dump = Dump("keys.zip");
  EXPECT_EQ(dump.find("Bank="), std::string::npos) << dump;
  EXPECT_NE(dump.find("Shop="), std::string::npos) << dump;
  EXPECT_EQ(dump.find("Mail=ann"), dump.rfind("Mail=ann")) << "one Mail line: " << dump;
  // The two merged copies are the newest backups; the archive as it was
  // before the merge comes after them.
  EXPECT_EQ(Folder(), (std::vector<std::string>{"keys.backup.zip", "keys.backup2.zip",
                                                "keys.backup3.zip", "keys.zip", kBrokenCopy}));
  EXPECT_EQ(Cli({"list", "keys.backup.zip"}, "pw\n").status, 0);
  // Merging again finds only the copy it could not read.
  EXPECT_EQ(Cli({"merge", "keys.zip"}, "pw\n").status, 1);
}

TEST_F(CliMergeTest, WithoutRecordsDeletedSitesComeBackAndTheMergeSaysSoOnce) {
  MakeArchive("keys.zip");
  AddSite("keys.zip", "pw", {"Bank"}, "b1");
  WriteFile(Path("a.zip"), ReadFile(Path("keys.zip")));
  WriteFile(Path("b.zip"), ReadFile(Path("keys.zip")));
  Run({"rm", "keys.zip", "Bank"});
  AddSite("b.zip", "pw", {"Shop"}, "s1");
  const TProcessResult r = Cli({"merge", "keys.zip", "a.zip", "b.zip"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string note = "without change records";
  EXPECT_EQ(r.out.find(note), r.out.rfind(note)) << r.out;
  EXPECT_NE(r.out.find(note), std::string::npos) << r.out;
  EXPECT_EQ(Dump("keys.zip"), "Bank=\tb1\t\t\r\nShop=\ts1\t\t\r\n");
  // Named archives stay where they are.
  EXPECT_EQ(Cli({"list", "a.zip"}, "pw\n").status, 0);
}

TEST_F(CliMergeTest, NothingToMergeLeavesTheArchiveAlone) {
  MakeAes("keys.zip");
  const std::string before = ReadFile(Path("keys.zip"));
  const TProcessResult r = Cli({"merge", "keys.zip"}, "pw\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "no conflict copies of keys.zip\n");
  EXPECT_EQ(ReadFile(Path("keys.zip")), before);
}

}  // namespace
}  // namespace cli_test
