#include "archive/storage/archive_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "archive/storage/archive_place.h"
#include "archive/storage/descriptor_io.h"
#include "archive/storage/temp_file.h"

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};
constexpr mode_t kNewArchiveMode = 0600;

// An exclusive lock on the whole file, held by the open file description:
// another open() of the same file, in this process or another, conflicts.
bool LockWhole(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

TArchiveLock::TArchiveLock(const std::string& archivePath, std::chrono::milliseconds wait) {
  Prepare(archivePath);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    const TAttempt attempt = Attempt(archivePath);
    if (attempt == TAttempt::Locked) return;
    if (attempt == TAttempt::Busy && std::chrono::steady_clock::now() >= deadline) {
      throw ELockTimeout("The archive " + archivePath + " is being changed by another program");
    }
    // A replaced file is tried again at once; a held one after a pause.
    if (attempt == TAttempt::Busy) std::this_thread::sleep_for(kPollInterval);
  }
}

std::optional<TArchiveLock> TArchiveLock::TryAcquire(const std::string& archivePath) {
  TArchiveLock lock;
  lock.Prepare(archivePath);
  for (;;) {
    switch (lock.Attempt(archivePath)) {
      case TAttempt::Locked: return lock;
      case TAttempt::Busy: return std::nullopt;
      case TAttempt::Retry: break;
    }
  }
}

TArchiveLock::TArchiveLock(TArchiveLock&& other) noexcept
    : name_(std::move(other.name_)),
      folderFd_(std::move(other.folderFd_)),
      fd_(std::move(other.fd_)),
      followed_(std::move(other.followed_)),
      created_(std::exchange(other.created_, false)) {}

// A file this lock created and no save filled is taken away again, so a
// failed first save leaves nothing behind. Closing the descriptors lets go
// of the locks.
TArchiveLock::~TArchiveLock() {
  if (!created_ || !fd_.IsOpen()) return;
  struct stat st {};
  if (::fstat(fd_.Get(), &st) == 0 && st.st_size == 0 &&
      NameHoldsFile(folderFd_.Get(), name_, fd_.Get())) {
    ::unlinkat(folderFd_.Get(), name_.c_str(), 0);
  }
}

void TArchiveLock::Prepare(const std::string& archivePath) {
  const TArchivePlace place = ResolveArchivePlace(archivePath);
  if (place.name.empty()) ThrowFileError("Cannot lock file", archivePath, EISDIR);
  name_ = place.name;
  folderFd_ = TFileDescriptor(::open(place.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd_.IsOpen()) ThrowFileError("Cannot lock file", archivePath, errno);
}

TFileDescriptor TArchiveLock::OpenOrCreate(const std::string& shownPath) {
  // Non-blocking, so that a FIFO put in the archive's place cannot stall us.
  TFileDescriptor fd(
      ::openat(folderFd_.Get(), name_.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  created_ = false;
  if (fd.IsOpen()) return fd;
  if (errno == EACCES || errno == EROFS) {
    throw EArchiveReadOnly("The archive " + shownPath + " is read-only");
  }
  if (errno != ENOENT) ThrowFileError("Cannot lock file", shownPath, errno);
  fd = TFileDescriptor(::openat(folderFd_.Get(), name_.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                kNewArchiveMode));
  if (!fd.IsOpen()) {
    if (errno == EEXIST) return fd;  // made by another meanwhile: try again
    ThrowFileError("Cannot create file", shownPath, errno);
  }
  // The umask may have taken bits away; it never adds any.
  if (::fchmod(fd.Get(), kNewArchiveMode) != 0) ThrowFileError("Cannot create file", shownPath, errno);
  created_ = true;
  return fd;
}

TArchiveLock::TAttempt TArchiveLock::Attempt(const std::string& shownPath) {
  TFileDescriptor fd = OpenOrCreate(shownPath);
  if (!fd.IsOpen()) return TAttempt::Retry;
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) ThrowFileError("Cannot lock file", shownPath, errno);
  if (!S_ISREG(st.st_mode)) throw EFileError("Cannot lock file " + shownPath + ": not a regular file");
  if (!LockWhole(fd.Get())) {
    if (errno == EAGAIN || errno == EACCES) return TAttempt::Busy;
    if (errno == EINTR) return TAttempt::Retry;
    ThrowFileError("Cannot lock file", shownPath, errno);
  }
  // A save may have renamed a new file over the name while we waited: the
  // lock then guards a file that is no longer the archive.
  struct stat named {};
  if (::fstatat(folderFd_.Get(), name_.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
      !SameFile(st, named)) {
    return TAttempt::Retry;
  }
  fd_ = std::move(fd);
  return TAttempt::Locked;
}

void TArchiveLock::Follow(int newFileFd) {
  TFileDescriptor fd(::fcntl(newFileFd, F_DUPFD_CLOEXEC, 0));
  if (!fd.IsOpen() || !LockWhole(fd.Get())) {
    ThrowFileError("Cannot lock file", name_, errno);
  }
  followed_ = std::move(fd);
}
