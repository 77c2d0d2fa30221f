// A command reads its archive, then again under the lock: the second read
// may reuse the first only while the file is the same.
#include "cli/archive_access.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "archive/archive_session.h"
#include "cli/command_archive.h"
#include "cli/password_input.h"

namespace cli {
namespace {

class ArchiveAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Writes an unencrypted archive holding the one site line.
  void Write(const std::string& line) {
    const std::string next = (dir_ / "next.zip").string();
    {
      TArchiveLock lock(next);
      SaveNewArchive(next, line + "\r\n", {}, lock);
    }
    std::filesystem::rename(next, path_);
  }
  TArchiveContent Read() {
    std::istringstream none;
    std::ostringstream prompts;
    TStreamPasswordInput input(none, prompts, false);
    return ReadArchiveToChange(path_, input);
  }
  std::string ReadAgain(TArchiveContent& earlier) {
    TArchiveSession session([this] { return TSettingsFile{(dir_ / "s.conf").string(), "S", ""}; });
    session.SetPath(earlier.path);
    return ReadArchiveAgain(earlier, session).data.str();
  }

  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() / ("vornix-access-" + std::to_string(getpid()));
  std::string path_ = (dir_ / "keys.zip").string();
};

TEST_F(ArchiveAccessTest, TheSecondReadSeesEveryChangeInBetween) {
  Write("Bank=ann\tpw1\t\t");
  TArchiveContent untouched = Read();
  EXPECT_EQ(ReadAgain(untouched), "Bank=ann\tpw1\t\t\r\n");
  EXPECT_TRUE(untouched.data.empty());

  // Replaced by another file of the same size.
  TArchiveContent replaced = Read();
  Write("Bank=ann\tpw2\t\t");
  EXPECT_EQ(ReadAgain(replaced), "Bank=ann\tpw2\t\t\r\n");

  // Rewritten in place with bytes of the same size: only the content differs.
  const std::filesystem::path other = dir_ / "other.zip";
  std::filesystem::copy_file(path_, other);
  Write("Bank=ann\tpw3\t\t");
  TArchiveContent rewritten = Read();
  const auto time = std::filesystem::last_write_time(path_);
  std::filesystem::copy_file(other, path_, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::last_write_time(path_, time);
  EXPECT_EQ(ReadAgain(rewritten), "Bank=ann\tpw2\t\t\r\n");
}

}  // namespace
}  // namespace cli
