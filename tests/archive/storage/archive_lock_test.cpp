// The archive lock: who can hold it, and that it keeps guarding the archive
// across the rename of a save.

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "archive/storage/archive_lock.h"
#include "archive/storage/safe_save.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

class ArchiveLockTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string archive = dir.File("keys.zip");
};

TEST_F(ArchiveLockTest, OnlyOneHolderAtATime) {
  WriteWholeFile(archive, "old");
  std::optional<TArchiveLock> first = TArchiveLock::TryAcquire(archive);
  ASSERT_TRUE(first);
  EXPECT_FALSE(TArchiveLock::TryAcquire(archive));
  EXPECT_THROW(TArchiveLock(archive, std::chrono::milliseconds(60)), ELockTimeout);
  first.reset();
  EXPECT_TRUE(TArchiveLock::TryAcquire(archive));
}

// A user who may read the archive and its folder, but not write the
// archive, can neither take the lock nor keep its owner from saving; the
// folder lock that once guarded saves is no obstacle any more.
TEST_F(ArchiveLockTest, ReadersInAStickyFolderCannotBlockTheOwner) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ASSERT_EQ(chmod(dir.Path().c_str(), 01777), 0);
  SaveDataArchive(archive, "pw", "Bank=\t\t\t\r\n");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  if (child == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || setuid(nobody->pw_uid) != 0) _exit(99);
    const int folder = open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY);
    if (folder < 0 || flock(folder, LOCK_EX) != 0) _exit(2);
    char verdict = 'n';
    try {
      TArchiveLock taken(archive, std::chrono::milliseconds(0));
      verdict = 'l';  // locked what it may not write
    } catch (const EArchiveReadOnly&) {
      verdict = 'r';
    } catch (...) {
    }
    if (write(ready[1], &verdict, 1) != 1) _exit(2);
    sleep(5);
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  EXPECT_EQ(byte, 'r');
  TArchiveLock lock(archive, std::chrono::milliseconds(500));
  TSaveOptions options;
  options.password = "pw";
  options.lock = &lock;
  EXPECT_NO_THROW(SaveDataArchive(archive, "Mail=\t\t\t\r\n", options));
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
}

// After a save has renamed its new file over the archive, a process that
// opens the archive anew finds the new file locked as well.
TEST_F(ArchiveLockTest, TheLockFollowsTheSavedFile) {
  SaveDataArchive(archive, "pw", "Bank=\t\t\t\r\n");
  {
    TArchiveLock lock(archive);
    TSaveOptions options;
    options.password = "pw";
    options.lock = &lock;
    SaveDataArchive(archive, "Mail=\t\t\t\r\n", options);
    EXPECT_FALSE(TArchiveLock::TryAcquire(archive));
  }
  EXPECT_TRUE(TArchiveLock::TryAcquire(archive));
}

// A new archive is created empty, private and locked; when no save fills
// it, nothing is left behind.
TEST_F(ArchiveLockTest, ANewArchiveIsCreatedPrivateAndRemovedWhenNotSaved) {
  {
    TArchiveLock lock(archive);
    EXPECT_TRUE(lock.CreatedEmptyFile());
    struct stat st {};
    ASSERT_EQ(lstat(archive.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(st.st_size, 0);
  }
  EXPECT_NE(access(archive.c_str(), F_OK), 0);
  {
    TArchiveLock lock(archive);
    TSaveOptions options;
    options.password = "pw";
    options.backups = 3;
    options.lock = &lock;
    SaveDataArchive(archive, "Bank=\t\t\t\r\n", options);
  }
  EXPECT_EQ(ReadDataMember(archive, "pw"), "Bank=\t\t\t\r\n");
  EXPECT_NE(access(dir.File("keys.backup.zip").c_str(), F_OK), 0);  // no backup of nothing
}

TEST_F(ArchiveLockTest, SomethingOtherThanAFileIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo(archive.c_str(), 0600), 0);
  EXPECT_THROW(TArchiveLock lock(archive), EFileError);
}

}  // namespace
