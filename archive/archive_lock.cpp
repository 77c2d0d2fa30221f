#include "archive/archive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

std::string LockedFolder(const std::string& archivePath) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = fs::absolute(archivePath, ec);
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  return target.parent_path().string();
}

}  // namespace

TArchiveLock::TArchiveLock(const std::string& archivePath, std::chrono::milliseconds wait) {
  const std::string folder = LockedFolder(archivePath);
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) {
    throw EFileError("Cannot lock the folder " + folder + ": " + std::strerror(errno));
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error != EWOULDBLOCK && error != EINTR) {
      ::close(fd_);
      throw EFileError("Cannot lock the folder " + folder + ": " + std::strerror(error));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      ::close(fd_);
      throw ELockTimeout("The archive " + archivePath + " is being changed by another program");
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

TArchiveLock::~TArchiveLock() {
  // Closing the descriptor lets go of the lock.
  if (fd_ >= 0) ::close(fd_);
}
