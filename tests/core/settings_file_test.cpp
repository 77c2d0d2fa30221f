// The settings file below Qt: one value read and written in place, the
// stored counts and the private replacement of the file (the whole store,
// old quoted values included, is tested through TqelState).
#include "core/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "core/option_settings.h"
#include "core/private_file.h"

namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vornix-settings-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    file_ = {(dir_ / "Vornix.conf").string(), "General", "Unable to write to it"};
  }
  void TearDown() override { fs::remove_all(dir_); }

  void Write(const std::string& bytes) { std::ofstream(file_.path, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(file_.path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  fs::path dir_;
  TSettingsFile file_;
};

TEST_F(SettingsFileTest, OneValueIsSetInPlaceAndEverythingElseKept) {
  Write(
      "# mine\n[Other]\nOptions.Backups=7\n[general]\na=1\noptions.backups=2\nb=2\n"
      "Options.Backups=5\n");
  WriteSettingsValue(file_, "Options.Backups", "3");
  EXPECT_EQ(Read(), "# mine\n[Other]\nOptions.Backups=7\n[general]\na=1\nOptions.Backups=3\nb=2\n");
  EXPECT_EQ(ReadSettingsValue(file_, "OPTIONS.BACKUPS"), "3");
  WriteSettingsValue(file_, "Options.Backups", "");
  EXPECT_EQ(ReadSettingsValue(file_, "Options.Backups"), std::nullopt);
  EXPECT_EQ(ReadSettingsValue(file_, "b"), "2");
}

TEST_F(SettingsFileTest, ReadValueFollowsTheStoreLoadingRules) {
  Write("[General]\nA=1\nA=2\nB=1\nB=\nQ=\"a, b\"\n");
  EXPECT_EQ(ReadSettingsValue(file_, "a"), "2");
  EXPECT_EQ(ReadSettingsValue(file_, "B"), std::nullopt);
  EXPECT_EQ(ReadSettingsValue(file_, "Q"), "a, b");
  EXPECT_EQ(ReadSettingsValue(file_, "missing"), std::nullopt);
}

TEST_F(SettingsFileTest, NewFileIsPrivateAndLeavesNoTemporaryFile) {
  file_.path = (dir_ / "new" / "folder" / "Vornix.conf").string();
  WriteSettingsValues(file_, {{"x", "1"}, {"y", "a;b"}});
  EXPECT_EQ(Read(), "[General]\nx=1\ny=a;b\n");
  struct stat status {};
  ASSERT_EQ(::stat(file_.path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "new" / "folder"), {}), 1);
}

TEST_F(SettingsFileTest, ALinkAtThePathIsReplacedNotFollowed) {
  const fs::path elsewhere = dir_ / "elsewhere";
  std::ofstream(elsewhere) << "keep\n";
  fs::create_symlink(elsewhere, file_.path);
  ASSERT_TRUE(ReplacePrivateFile(file_.path, "new\n"));
  EXPECT_FALSE(fs::is_symlink(file_.path));
  std::ifstream in(elsewhere);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "keep");
}

TEST_F(SettingsFileTest, FailuresKeepTheOldFile) {
  Write("[General]\na=1\n");
  EXPECT_THROW(WriteSettingsValue(file_, "bad=name", "1"), std::runtime_error);
  EXPECT_THROW(WriteSettingsValue(file_, "a", "two\nlines"), std::runtime_error);
  EXPECT_EQ(Read(), "[General]\na=1\n");
  // A file where the folder should be: the write cannot be made.
  TSettingsFile blocked = file_;
  blocked.path = file_.path + "/Vornix.conf";
  try {
    WriteSettingsValue(blocked, "a", "2");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Unable to write to it");
  }
  blocked.writeErrorText.clear();
  EXPECT_NO_THROW(WriteSettingsValue(blocked, "a", "2"));  // the per-user file is silent
  EXPECT_EQ(Read(), "[General]\na=1\n");
}

TEST(SettingsFileLocation, IniBesideTheProgramAndXdgConfigHome) {
  EXPECT_EQ(IniSettingsFile("/opt/v/vornix").path, "/opt/v/vornix.ini");
  EXPECT_EQ(IniSettingsFile("/opt/v.d/vornix.bin").path, "/opt/v.d/vornix.ini");
  EXPECT_EQ(IniSettingsFile("/opt/v/vornix").section, "Vornix");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(UserSettingsFile().path, "/cfg/Kestrum/Vornix.conf");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  EXPECT_EQ(UserSettingsFile().path,
            std::string(std::getenv("HOME")) + "/.config/Kestrum/Vornix.conf");
  EXPECT_EQ(UserSettingsFile().section, "General");
  if (old)
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsCount, OnlyWholeNumbersInRange) {
  const std::pair<std::string, std::optional<int>> cases[] = {
      {"3", 3},
      {" 0 ", 0},
      {"+7", 7},
      {"99", 99},
      {"100", std::nullopt},
      {"-1", std::nullopt},
      {"3x", std::nullopt},
      {"", std::nullopt},
      {"1e2", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseSettingCount(text, kMaxBackups), expected) << '"' << text << '"';
  }
}

}  // namespace
