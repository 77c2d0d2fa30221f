// Whole reads and writes through descriptors, and export files created for
// their owner only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "core/descriptor_io.h"
#include "core/private_file.h"

namespace {

class PrivateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vornix-private-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    dir_ = name;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  std::string Read(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(ReadToEnd(fd, bytes), 0);
    ::close(fd);
    return bytes;
  }
  std::string dir_;
};

TEST_F(PrivateFileTest, CreatedForTheOwnerOnlyAndNeverOverExistingOrLinked) {
  const std::string path = dir_ + "/out.csv";
  ASSERT_TRUE(CreatePrivateFile(path, std::string(100000, 'x')));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(Read(path), std::string(100000, 'x'));

  EXPECT_FALSE(CreatePrivateFile(path, "other"));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(Read(path), std::string(100000, 'x'));  // the old file is kept

  const std::string link = dir_ + "/link.csv";
  ASSERT_EQ(::symlink((dir_ + "/target").c_str(), link.c_str()), 0);
  EXPECT_FALSE(CreatePrivateFile(link, "secret"));
  EXPECT_NE(::access((dir_ + "/target").c_str(), F_OK), 0);  // nothing written through it
}

TEST_F(PrivateFileTest, ReadsStopAtTheEndAndFailuresCarryTheReason) {
  const std::string path = dir_ + "/data";
  ASSERT_TRUE(CreatePrivateFile(path, "0123456789"));
  const int fd = ::open(path.c_str(), O_RDONLY);
  char buffer[16] = {};
  const TIoResult tail = ReadFullyAt(fd, 6, buffer, sizeof buffer);
  EXPECT_EQ(tail.count, 4u);
  EXPECT_EQ(tail.error, 0);
  EXPECT_EQ(std::string(buffer, tail.count), "6789");
  EXPECT_EQ(ReadFully(fd, buffer, 3).count, 3u);  // the position is still at 0
  EXPECT_EQ(std::string(buffer, 3), "012");
  EXPECT_EQ(WriteFully(fd, "x").error, EBADF);  // opened read-only
  ::close(fd);
}

}  // namespace
