#include "archive/storage/archive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "archive/storage/archive_place.h"

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

}  // namespace

TArchiveLock::TArchiveLock(const std::string& archivePath, std::chrono::milliseconds wait) {
  const std::string folder = ResolveArchivePlace(archivePath).folder;
  fd_ = TFileDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd_.IsOpen()) {
    throw EFileError("Cannot lock the folder " + folder + ": " + std::strerror(errno));
  }
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd_.Get(), LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error != EWOULDBLOCK && error != EINTR) {
      throw EFileError("Cannot lock the folder " + folder + ": " + std::strerror(error));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw ELockTimeout("The archive " + archivePath + " is being changed by another program");
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

// Closing the descriptor lets go of the lock.
TArchiveLock::~TArchiveLock() = default;
