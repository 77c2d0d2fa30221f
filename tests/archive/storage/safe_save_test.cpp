#include "archive/storage/safe_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

mode_t PermissionsOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(SafeSave, NewFileIsPrivateAndReadsBack) {
  TScratchDir dir;
  std::string path = dir.File("new.zip");
  SaveDataArchive(path, "pw", "site=user\tpw\t\t\r\n");
  EXPECT_EQ(PermissionsOf(path), 0600u);
  EXPECT_EQ(ReadDataMember(path, "pw"), "site=user\tpw\t\t\r\n");
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"new.zip"});
}

TEST(SafeSave, ReplacedFileKeepsOnlyItsPermissionBits) {
  TScratchDir dir;
  std::string path = dir.File("old.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  SaveDataArchive(path, "", "new");
  EXPECT_EQ(PermissionsOf(path), 0640u);
  EXPECT_EQ(ReadDataMember(path, ""), "new");
  // The previous version stays beside it as the backup.
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"old.backup.zip", "old.zip"}));
  // setuid, setgid and sticky never reach the new file.
  ASSERT_EQ(::chmod(path.c_str(), 07750), 0);
  SaveDataArchive(path, "", "newer");
  EXPECT_EQ(PermissionsOf(path), 0750u);
}

TEST(SafeSave, ArchiveWithoutOwnerWriteBitIsNotReplaced) {
  TScratchDir dir;
  std::string path = dir.File("locked.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  const std::string before = ReadWholeFile(path);
  try {
    SaveDataArchive(path, "", "new");
    FAIL() << "no error";
  } catch (const EArchiveReadOnly& e) {
    EXPECT_EQ(std::string(e.what()), "The archive " + path + " is read-only");
  }
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"locked.zip"});
}

TEST(SafeSave, TargetWithAnotherExtensionIsSavedToo) {
  // The temporary file's name does not depend on the archive's extension.
  TScratchDir dir;
  std::string path = dir.File("archive.ZIP");
  SaveDataArchive(path, "pw", "data");
  EXPECT_EQ(ReadDataMember(path, "pw"), "data");
}

TEST(SafeSave, FolderInTheArchivesPlaceIsRefusedUntouched) {
  // A folder in the archive's place is never replaced by a file.
  TScratchDir dir;
  std::string path = dir.File("busy.zip");
  std::filesystem::create_directory(path);
  WriteWholeFile(path + "/inside", "keep");
  try {
    SaveDataArchive(path, "pw", "data");
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot write file " + path + ": Is a directory");
  }
  EXPECT_EQ(ReadWholeFile(path + "/inside"), "keep");
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"busy.zip"});
}

TEST(SafeSave, MissingFolderIsAClearError) {
  TScratchDir dir;
  std::string path = dir.File("no/such/folder/a.zip");
  try {
    SaveDataArchive(path, "", "data");
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + path + ": No such file or directory");
  }
}

TEST(SafeSave, ReadOnlyFolderLeavesTheOldFileUntouched) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TScratchDir dir;
  std::string path = dir.File("old.zip");
  SaveDataArchive(path, "pw", "old data");
  const std::string before = ReadWholeFile(path);
  ASSERT_EQ(::chmod(dir.Path().c_str(), 0500), 0);
  EXPECT_ANY_THROW(SaveDataArchive(path, "pw", "new data"));
  ::chmod(dir.Path().c_str(), 0700);
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"old.zip"});
}

}  // namespace

namespace {

TEST(SafeSave, SymbolicLinkIsWrittenThroughAndKept) {
  TScratchDir dir;
  std::string real = dir.File("real.zip");
  std::string link = dir.File("link.zip");
  SaveDataArchive(real, "", "old");
  std::filesystem::create_symlink(real, link);
  SaveDataArchive(link, "", "new");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadDataMember(real, ""), "new");
}

TEST(SafeSave, RelativePathIsSavedInTheCurrentFolder) {
  TScratchDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  EXPECT_NO_THROW(SaveDataArchive("relative.zip", "pw", "data"));
  std::filesystem::current_path(previous);
  EXPECT_EQ(ReadDataMember(dir.File("relative.zip"), "pw"), "data");
}

}  // namespace
