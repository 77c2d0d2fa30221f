#pragma once
// A fixture that runs the built vornix-cli in a fresh temporary folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_runner.h"

namespace cli_test {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // The window's per-user settings file the runs see (XDG_CONFIG_HOME).
  std::string SettingsPath() const { return config_ + "/Kestrum/Vornix.conf"; }
  // Runs vornix-cli with the arguments and standard input, in the folder.
  TProcessResult Cli(const std::vector<std::string>& args, const std::string& input = "") const;
  // Runs a shell command in the folder.
  TProcessResult Shell(const std::string& command) const;

  // A new archive "name" with the password (empty: unencrypted).
  std::string MakeArchive(const std::string& name = "keys.zip",
                          const std::string& password = "pw") const;
  // Adds a site (password piped after the archive's) and expects success.
  void AddSite(const std::string& archive, const std::string& archivePassword,
               const std::vector<std::string>& siteArgs, const std::string& sitePassword) const;
  // Every command that changes an existing archive, on archive (a site "S",
  // a CSV file "sites.csv" in the folder).
  static std::vector<std::vector<std::string>> ChangingCommands(const std::string& archive);
  // Runs each command with three password lines: each must stop with the
  // status of a file that is not an archive (3), the message err and no output.
  void ExpectEachRefused(const std::vector<std::vector<std::string>>& commands,
                         const std::string& err) const;
  // The archive's member Data, read through "dump".
  std::string Dump(const std::string& archive, const std::string& password = "pw") const;

  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& bytes);
  static unsigned Mode(const std::string& path);
  static bool HaveTool(const std::string& name);

 private:
  std::string dir_;
  std::string config_;  // outside dir_, so that listings of dir_ do not show it
};

}  // namespace cli_test
