// Changes from several processes at once: each waits for the archive's lock
// and works on the archive as the one before it saved it.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "archive/storage/archive_lock.h"
#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliLockTest : public CliTest {};

TEST_F(CliLockTest, TwoAddsAtOnceLoseNoUpdate) {
  MakeArchive();
  constexpr int kRounds = 20;
  const std::string add = "printf 'pw\\np\\n' | " + std::string(VORNIX_CLI_PATH) + " add keys.zip ";
  const TProcessResult r =
      Shell("for i in $(seq " + std::to_string(kRounds) + "); do (" + add +
            "A$i || echo failed) & (" + add + "B$i || echo failed) & wait; done");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  std::istringstream names(Cli({"list", "keys.zip"}, "pw\n").out);
  std::set<std::string> listed;
  for (std::string name; std::getline(names, name);) listed.insert(name);
  EXPECT_EQ(listed.size(), 2u * kRounds);
}

TEST_F(CliLockTest, AChangeWaitsForTheLockOnlySoLong) {
  const std::string archive = MakeArchive();
  const std::string before = ReadFile(archive);
  const TArchiveLock held(archive);
  const TProcessResult r = Cli({"add", "keys.zip", "Bank"}, "pw\np\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: The archive " + std::filesystem::canonical(archive).string() +
                       " is being changed by another program\n");
  EXPECT_EQ(ReadFile(archive), before);
}

}  // namespace
}  // namespace cli_test
