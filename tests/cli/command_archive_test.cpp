// How a save's refusal ends a command. Run in the process: a site list over
// the limit is far quicker to refuse here than to import as a CSV file.
#include "cli/command_archive.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "archive/zip/site_list_member.h"
#include "cli/cli_error.h"

namespace cli {
namespace {

TEST(CommandArchive, SiteListTooLargeToSaveIsRefusedDataAndWritesNothing) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("vornix-cli-save-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "keys.zip").string();
  try {
    SaveNewArchive(path, std::string(kMaxSiteListSize + 1, 's'), TSaveOptions{});
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
