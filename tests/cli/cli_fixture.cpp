#include "cli_fixture.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace cli_test {

void CliTest::SetUp() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vornix-cli-test.XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  std::string config =
      (std::filesystem::temp_directory_path() / "vornix-cli-config.XXXXXX").string();
  ASSERT_NE(mkdtemp(config.data()), nullptr);
  config_ = config;
}

void CliTest::TearDown() {
  if (dir_.empty()) return;
  std::error_code ec;
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(dir_, ec);
  if (!config_.empty()) std::filesystem::remove_all(config_, ec);
}

TProcessResult CliTest::Cli(const std::vector<std::string>& args, const std::string& input) const {
  std::vector<std::string> argv{VORNIX_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  // The user's own settings never decide a test's outcome.
  return RunProcess(argv, input, dir_, {"XDG_CONFIG_HOME=" + config_});
}

TProcessResult CliTest::Shell(const std::string& command) const {
  return RunProcess({"/bin/sh", "-c", command}, "", dir_, {"XDG_CONFIG_HOME=" + config_});
}

std::string CliTest::MakeArchive(const std::string& name, const std::string& password) const {
  const TProcessResult r = password.empty()
                               ? Cli({"create", name, "--no-password"})
                               : Cli({"create", name}, password + "\n" + password + "\n");
  EXPECT_EQ(r.status, 0) << r.err;
  return Path(name);
}

void CliTest::AddSite(const std::string& archive, const std::string& archivePassword,
                      const std::vector<std::string>& siteArgs,
                      const std::string& sitePassword) const {
  std::vector<std::string> args{"add", archive};
  args.insert(args.end(), siteArgs.begin(), siteArgs.end());
  const std::string input =
      (archivePassword.empty() ? "" : archivePassword + "\n") + sitePassword + "\n";
  const TProcessResult r = Cli(args, input);
  EXPECT_EQ(r.status, 0) << r.err;
}

std::vector<std::vector<std::string>> CliTest::ChangingCommands(const std::string& archive) {
  return {{"add", archive, "S"},
          {"edit", archive, "S", "--user", "u"},
          {"rm", archive, "S"},
          {"passwd", archive},
          {"import", archive, "--csv", "sites.csv"}};
}

void CliTest::ExpectEachRefused(const std::vector<std::vector<std::string>>& commands,
                                const std::string& err) const {
  for (const std::vector<std::string>& args : commands) {
    const TProcessResult r = Cli(args, "pw\npw\npw\n");
    EXPECT_EQ(r.status, 3) << args[0];
    EXPECT_EQ(r.err, err) << args[0];
    EXPECT_EQ(r.out, "") << args[0];
  }
}

std::string CliTest::Dump(const std::string& archive, const std::string& password) const {
  const TProcessResult r = Cli({"dump", archive}, password + "\n");
  EXPECT_EQ(r.status, 0) << r.err;
  return r.out;
}

std::string CliTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void CliTest::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

unsigned CliTest::Mode(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return 0;
  return st.st_mode & 07777;
}

bool CliTest::HaveTool(const std::string& name) {
  return RunProcess({"/bin/sh", "-c", "command -v " + name}, "").status == 0;
}

}  // namespace cli_test
