// The safe save under interference: another program swapping names during
// the save, saving another user's archive, failures half way, and kills.

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "archive/storage/safe_save.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(SafeSaveAttack, TemporaryFileSwappedForASymlinkLeavesItsTargetAlone) {
  TScratchDir dir;
  TScratchDir outside;
  const std::string path = dir.File("keys.zip");
  const std::string precious = outside.File("precious");
  SaveDataArchive(path, "pw", "old sites");
  WriteWholeFile(precious, "not yours");
  ASSERT_EQ(::chmod(precious.c_str(), 0644), 0);
  const std::string archiveBefore = ReadWholeFile(path);

  THookGuard guard([&](const std::string& temp) {
    ASSERT_EQ(::unlink(temp.c_str()), 0);
    ASSERT_EQ(::symlink(precious.c_str(), temp.c_str()), 0);
  });
  EXPECT_THROW(SaveDataArchive(path, "pw", "new sites"), EArchiveReplaced);
  EXPECT_EQ(ReadWholeFile(precious), "not yours");
  EXPECT_EQ(StatOf(precious).st_mode & 07777, 0644u);
  EXPECT_EQ(ReadWholeFile(path), archiveBefore);
  EXPECT_TRUE(S_ISREG(StatOf(path).st_mode));
}

TEST(SafeSaveAttack, SuperuserSavingAnotherUsersArchiveKeepsTheOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can give files away";
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) GTEST_SKIP() << "no user nobody";
  TScratchDir dir;
  const std::string path = dir.File("theirs.zip");
  SaveDataArchive(path, "", "old");
  ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  SaveDataArchive(path, "", "new");
  const struct stat st = StatOf(path);
  EXPECT_EQ(st.st_uid, nobody->pw_uid);
  EXPECT_EQ(st.st_gid, nobody->pw_gid);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadDataMember(path, ""), "new");
  // The backup is the old file itself, owner and all.
  EXPECT_EQ(StatOf(dir.File("theirs.backup.zip")).st_uid, nobody->pw_uid);
}

TEST(SafeSaveAttack, FailedSavesLeaveTheArchiveAndNoTemporaryFile) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  SaveDataArchive(path, "pw", "old sites");
  const std::string before = ReadWholeFile(path);
  {
    THookGuard guard([](const std::string&) { throw std::runtime_error("interrupted"); });
    EXPECT_THROW(SaveDataArchive(path, "pw", "new sites"), std::runtime_error);
  }
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"keys.zip"});

  // A file size limit: the child reports the error text through a pipe.
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string message = "no error";
    try {
      std::mt19937 random(7);
      std::string noise(1 << 16, '\0');
      for (char& c : noise) c = static_cast<char>(random());
      SaveDataArchive(path, "", noise);
    } catch (const std::exception& e) {
      message = e.what();
    }
    (void)!::write(fds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string message;
  char chunk[256];
  while (ssize_t got = ::read(fds[0], chunk, sizeof chunk)) {
    if (got < 0) break;
    message.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(fds[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(message, "Cannot write file " + path + ": File too large");
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"keys.zip"});
}

TEST(SafeSaveAttack, StaleTemporaryFilesOfTheArchiveAreRemoved) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  WriteWholeFile(dir.File(".keys.zip.vornix-Ab3dEf9hIj0L.tmp"), "old password's copy");
  // Names we never make belong to someone else.
  WriteWholeFile(dir.File(".keys.zip.vornix-short.tmp"), "theirs");
  WriteWholeFile(dir.File(".other.zip.vornix-Ab3dEf9hIj0L.tmp"), "another archive's");
  SaveDataArchive(path, "pw", "sites");
  EXPECT_EQ(FolderContents(dir.Path()),
            (std::vector<std::string>{".keys.zip.vornix-short.tmp",
                                      ".other.zip.vornix-Ab3dEf9hIj0L.tmp", "keys.zip"}));
}

// Saves alternate between two site lists until the process is killed.
[[noreturn]] void SaveForever(const std::string& path, const std::string& a, const std::string& b) {
  for (;;) {
    SaveDataArchive(path, "pw", a);
    SaveDataArchive(path, "pw", b);
  }
}

TEST(SafeSaveAttack, KilledSavesLeaveOldOrNewAndNothingTheNextSaveKeeps) {
  TScratchDir dir;
  const std::string path = dir.File("big.zip");
  const std::string a = SampleText(768 << 10);
  const std::string b = "changed" + a;
  const auto started = std::chrono::steady_clock::now();
  SaveDataArchive(path, "pw", a);
  const auto oneSave = std::chrono::steady_clock::now() - started;
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(oneSave * 2);

  constexpr int kKills = 40;
  std::mt19937 random(11);
  std::set<std::string> leftovers;
  for (int round = 0; round < kKills; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(path, a, b);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % span.count()));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::string data = ReadDataMember(path, "pw");
    ASSERT_TRUE(data == a || data == b) << "round " << round << ": " << data.size() << " bytes";
    for (const std::string& name : FolderContents(dir.Path()))
      if (name.find(".vornix-") != std::string::npos) leftovers.insert(name);
  }
  SaveDataArchive(path, "pw", a);
  EXPECT_EQ(FolderContents(dir.Path()), (std::vector<std::string>{"big.backup.zip", "big.zip"}));
  std::printf("%d kills, one save %lld ms, %zu temporary files left by kills, none after a save\n",
              kKills,
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::milliseconds>(oneSave).count()),
              leftovers.size());
}

}  // namespace
