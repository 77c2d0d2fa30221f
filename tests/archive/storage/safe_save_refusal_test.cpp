// What a save refuses and what it saves without: a site list no read would
// take, and backup names held by files that are not ours.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
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

const passwd* Nobody() { return ::getpwnam("nobody"); }

TEST(SafeSaveRefusal, MemberSizesAreCheckedAgainstTheReadLimit) {
  const std::string cap = std::to_string(kMaxSiteListSize);
  const struct {
    const char* name;
    std::uint64_t size;
    const char* message;  // empty: accepted
  } cases[] = {
      {"Data", kMaxSiteListSize, ""},
      {"Data", kMaxSiteListSize + 1, "The site list is too large to save (268435457 bytes, at most "},
      {"Changes", kMaxSiteListSize + 1,
       "The member Changes is too large to save (268435457 bytes, at most "},
  };
  for (const auto& c : cases) {
    if (*c.message == '\0') {
      EXPECT_NO_THROW(CheckMemberSizeToWrite(c.name, c.size)) << c.name;
      continue;
    }
    try {
      CheckMemberSizeToWrite(c.name, c.size);
      ADD_FAILURE() << c.name << ": not refused";
    } catch (const EMemberTooLarge& e) {
      EXPECT_EQ(std::string(e.what()), c.message + cap + ")");
    }
  }
}

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

// Puts something that is not ours at `name` in the folder; false when this
// process cannot (another owner needs the superuser).
using THolderMaker = std::function<bool(const TScratchDir&, const std::string& name)>;

struct THolderCase {
  const char* what;
  THolderMaker make;
  const char* reason;
};

TEST(SafeSaveRefusal, BackupNameHeldByAnotherFileIsLeftAloneAndSaid) {
  TScratchDir outside;
  const std::string precious = outside.File("precious");
  const THolderCase cases[] = {
      {"another user's file",
       [](const TScratchDir& dir, const std::string& name) {
         const passwd* nobody = Nobody();
         if (nobody == nullptr || ::geteuid() != 0) return false;
         WriteWholeFile(dir.File(name), "theirs");
         return ::chown(dir.File(name).c_str(), nobody->pw_uid, nobody->pw_gid) == 0;
       },
       "its name is held by a file of another user (uid "},
      {"a fifo",
       [](const TScratchDir& dir, const std::string& name) {
         return ::mkfifo(dir.File(name).c_str(), 0600) == 0;
       },
       "its name is held by something that is not a regular file"},
      {"a symbolic link",
       [&](const TScratchDir& dir, const std::string& name) {
         WriteWholeFile(precious, "not yours");
         return ::symlink(precious.c_str(), dir.File(name).c_str()) == 0;
       },
       "its name is held by something that is not a regular file"},
  };
  for (const char* held : {"keys.backup.zip", "keys.backup2.zip"}) {
    for (const THolderCase& c : cases) {
      SCOPED_TRACE(std::string(c.what) + " at " + held);
      TScratchDir dir;
      const std::string path = dir.File("keys.zip");
      TSaveOptions options;
      options.backups = 2;
      SaveDataArchive(path, "v1", options);
      SaveDataArchive(path, "v2", options);
      if (!c.make(dir, held)) continue;
      const struct stat before = LstatOf(dir.File(held));
      const TSaveWarnings warnings = SaveDataArchive(path, "v3", options);
      EXPECT_EQ(ReadDataMember(path, ""), "v3");
      ASSERT_EQ(warnings.size(), 1u);
      EXPECT_EQ(warnings[0].rfind("The backup " + dir.File(held) + " was not made: " + c.reason, 0),
                0u)
          << warnings[0];
      // The holder is the same thing it was, and what a link points to too.
      const struct stat after = LstatOf(dir.File(held));
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_uid, before.st_uid);
      if (std::string(c.what) != "a fifo") {
        EXPECT_EQ(ReadWholeFile(dir.File(held)), std::string(c.what) == "a symbolic link"
                                                     ? "not yours"
                                                     : "theirs");
      }
      // The backup that could be made is there: v2 when only the second
      // name is held, none when the latest is.
      const bool latestHeld = std::string(held) == "keys.backup.zip";
      if (!latestHeld) {
        EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), ""), "v2");
      }
      EXPECT_EQ(FolderContents(dir.Path()).size(), latestHeld ? 2u : 3u);
    }
  }
}

// The case met in a shared folder (sticky, writable by all): another user
// creates the backup's name, which the saver may then neither replace nor
// remove. The save runs as that saver, in a child process.
TEST(SafeSaveRefusal, BackupNameTakenInAStickyFolderDoesNotStopTheSave) {
  const passwd* nobody = Nobody();
  if (nobody == nullptr || ::geteuid() != 0) GTEST_SKIP() << "needs the superuser and nobody";
  TScratchDir dir;
  ASSERT_EQ(::chmod(dir.Path().c_str(), 01777), 0);
  const std::string path = dir.File("k.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  WriteWholeFile(dir.File("k.backup.zip"), "root's");

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 3;
    if (::setgid(nobody->pw_gid) == 0 && ::setuid(nobody->pw_uid) == 0) {
      try {
        const TSaveWarnings warnings = SaveDataArchive(path, "", "new");
        status = warnings.size() == 1 ? 0 : 2;
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
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"k.backup.zip", "k.zip"}));
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
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), ""), "old");
}

TEST(SafeSaveRefusal, PasswordChangeRemovesOurBackupsOnly) {
  const passwd* nobody = Nobody();
  if (nobody == nullptr || ::geteuid() != 0) GTEST_SKIP() << "needs the superuser and nobody";
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  TSaveOptions options;
  options.password = "old pw";
  SaveDataArchive(path, "v1", options);
  SaveDataArchive(path, "v2", options);
  WriteWholeFile(dir.File("keys.backup2.zip"), "theirs");
  ASSERT_EQ(::chown(dir.File("keys.backup2.zip").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  options.password = "new pw";
  options.passwordChanged = true;
  EXPECT_TRUE(SaveDataArchive(path, "v3", options).empty());
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"keys.backup2.zip", "keys.zip"}));
  EXPECT_EQ(ReadWholeFile(dir.File("keys.backup2.zip")), "theirs");
}

}  // namespace
