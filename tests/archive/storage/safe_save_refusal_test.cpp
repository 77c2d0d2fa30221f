// What a save refuses and what it saves without: a site list no read would
// take, and backup names held by something that is not ours.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "archive/archive_errors.h"
#include "archive/storage/safe_save.h"
#include "archive/zip/site_list_member.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

struct stat LstatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

// Another owner for a file; null unless this process may give files away.
const passwd* OtherUser() { return ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr; }

TEST(SafeSaveRefusal, TooLargeSiteListWritesNothing) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  SaveDataArchive(path, "pw", "v1");
  SaveDataArchive(path, "pw", "v2");
  const std::string archive = ReadWholeFile(path);
  const std::string backup = ReadWholeFile(dir.File("keys.backup.zip"));
  EXPECT_THROW(SaveDataArchive(path, "pw", std::string(kMaxSiteListSize + 1, 'x')),
               EMemberTooLarge);
  // No temporary file and no backup rotation.
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"keys.backup.zip", "keys.zip"}));
  EXPECT_TRUE(ReadWholeFile(path) == archive);
  EXPECT_TRUE(ReadWholeFile(dir.File("keys.backup.zip")) == backup);
}

// Each kind of holder at the latest and at the second backup's name: the
// save happens, the holder stays as it was, one warning names it.
TEST(SafeSaveRefusal, BackupNameHeldByAnotherFileIsLeftAloneAndSaid) {
  TScratchDir outside;
  const std::string target = outside.File("target");
  WriteWholeFile(target, "not yours");
  const char* const kNotRegular = "its name is held by something that is not a regular file";
  for (const char* held : {"keys.backup.zip", "keys.backup2.zip"}) {
    for (const std::string kind : {"fifo", "symlink", "other user"}) {
      SCOPED_TRACE(kind + " at " + held);
      TScratchDir dir;
      const std::string path = dir.File("keys.zip"), holder = dir.File(held);
      TSaveOptions options;
      options.backups = 2;
      SaveDataArchive(path, "v1", options);
      SaveDataArchive(path, "v2", options);
      std::string reason = kNotRegular;
      ::unlink(holder.c_str());  // the backup of v1, for the latest name
      if (kind == "fifo") {
        ASSERT_EQ(::mkfifo(holder.c_str(), 0600), 0);
      } else if (kind == "symlink") {
        ASSERT_EQ(::symlink(target.c_str(), holder.c_str()), 0);
      }
      if (kind == "other user") {
        const passwd* other = OtherUser();
        if (other == nullptr) continue;
        WriteWholeFile(holder, "theirs");
        ASSERT_EQ(::chown(holder.c_str(), other->pw_uid, other->pw_gid), 0);
        reason = "its name is held by a file of another user (uid " +
                 std::to_string(other->pw_uid) + ")";
      }
      const struct stat before = LstatOf(holder);
      EXPECT_EQ(SaveDataArchive(path, "v3", options),
                TSaveWarnings{"The backup " + holder + " was not made: " + reason});
      EXPECT_EQ(ReadDataMember(path, ""), "v3");
      EXPECT_EQ(LstatOf(holder).st_ino, before.st_ino);
      EXPECT_EQ(ReadWholeFile(target), "not yours");
      // The latest backup is v2 unless its own name is held.
      const bool latestHeld = std::string(held) == "keys.backup.zip";
      if (!latestHeld) {
        EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), ""), "v2");
      }
      EXPECT_EQ(FolderContents(dir.Path()).size(), latestHeld ? 2u : 3u);
    }
  }
}

// A shared folder (sticky, writable by all) where another user made the
// backup's name: the saver may neither replace nor remove it. The save runs
// as that saver, in a child process.
TEST(SafeSaveRefusal, BackupNameTakenInAStickyFolderDoesNotStopTheSave) {
  const passwd* saver = OtherUser();
  if (saver == nullptr) GTEST_SKIP() << "needs the superuser and the user nobody";
  TScratchDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 01777), 0);
  const std::string path = dir.File("k.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chown(path.c_str(), saver->pw_uid, saver->pw_gid), 0);
  WriteWholeFile(dir.File("k.backup.zip"), "root's");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 3;
    if (::setgid(saver->pw_gid) == 0 && ::setuid(saver->pw_uid) == 0) {
      try {
        status = SaveDataArchive(path, "", "new").size() == 1 ? 0 : 2;
      } catch (const std::exception&) {
        status = 1;
      }
    }
    ::_exit(status);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the save failed, 2: no single warning";
  EXPECT_EQ(ReadDataMember(path, ""), "new");
  EXPECT_EQ(ReadWholeFile(dir.File("k.backup.zip")), "root's");
}

TEST(SafeSaveRefusal, BackupDropsSetuidSetgidAndSticky) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chmod(path.c_str(), 07750), 0);
  const ino_t oldFile = LstatOf(path).st_ino;
  EXPECT_TRUE(SaveDataArchive(path, "", "new").empty());
  const struct stat backup = LstatOf(dir.File("keys.backup.zip"));
  EXPECT_EQ(backup.st_mode & 07777, 0750u);
  EXPECT_EQ(backup.st_ino, oldFile);  // still the old file, linked
}

// What a save killed between its two renames leaves.
TEST(SafeSaveRefusal, ArchiveLinkedAsItsOwnBackupLeavesNoTemporaryLink) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::link(path.c_str(), dir.File("keys.backup.zip").c_str()), 0);
  EXPECT_TRUE(SaveDataArchive(path, "", "new").empty());
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"keys.backup.zip", "keys.zip"}));
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), ""), "old");
}

TEST(SafeSaveRefusal, PasswordChangeRemovesOurBackupsOnly) {
  const passwd* other = OtherUser();
  if (other == nullptr) GTEST_SKIP() << "needs the superuser and the user nobody";
  TScratchDir dir;
  const std::string path = dir.File("keys.zip"), theirs = dir.File("keys.backup2.zip");
  SaveDataArchive(path, "old pw", "v1");
  SaveDataArchive(path, "old pw", "v2");
  WriteWholeFile(theirs, "theirs");
  ASSERT_EQ(::chown(theirs.c_str(), other->pw_uid, other->pw_gid), 0);
  TSaveOptions options;
  options.password = "new pw";
  options.passwordChanged = true;
  EXPECT_TRUE(SaveDataArchive(path, "v3", options).empty());
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"keys.backup2.zip", "keys.zip"}));
}

}  // namespace
