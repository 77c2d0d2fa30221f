#include "archive/storage/file_snapshot.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/archive/support/archive_test_support.h"

namespace {

// Puts the file's modification time back to what it was.
void RestoreTime(const std::string& path, const struct stat& before) {
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(FileSnapshot, RewriteKeepingSizeAndTimeIsStillAChange) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  WriteWholeFile(path, "version one");
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  const TFileSnapshot first = TakeFileSnapshot(path);
  EXPECT_TRUE(first.exists);
  EXPECT_EQ(TakeFileSnapshot(path), first);
  // Same length, written in place, time put back: only the bytes differ.
  WriteWholeFile(path, "version two");
  RestoreTime(path, before);
  const TFileSnapshot second = TakeFileSnapshot(path);
  EXPECT_EQ(second.modifiedNs, first.modifiedNs);
  EXPECT_EQ(second.size, first.size);
  EXPECT_EQ(second.inode, first.inode);
  EXPECT_NE(second, first);
}

}  // namespace
