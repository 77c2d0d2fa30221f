// A site list too large to save ends the command as refused data. Run in
// the process: importing one as CSV takes minutes in a debug build.
#include "cli/command_archive.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "archive/zip/site_list_member.h"
#include "cli/cli_error.h"

namespace cli {
namespace {

TEST(CommandArchive, SiteListTooLargeToSaveIsRefusedDataAndWritesNothing) {
  const auto dir = std::filesystem::temp_directory_path() / ("vornix-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  try {
    // The lock's empty new file goes with the lock when nothing is saved.
    TArchiveLock lock((dir / "k.zip").string());
    SaveNewArchive((dir / "k.zip").string(), std::string(kMaxSiteListSize + 1, 's'), {}, lock);
    ADD_FAILURE() << "not refused";
  } catch (const ECliError& e) {
    EXPECT_EQ(e.ExitCode(), kExitDataError);
    EXPECT_EQ(std::string(e.what()), "The site list is too large to save (268435457 bytes, at most " +
                                         std::to_string(kMaxSiteListSize) + ")");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cli
