#include "archive/storage/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "archive/archive_errors.h"
#include "archive/storage/descriptor_io.h"
#include "archive/storage/folder_entries.h"
#include "core/secure_random.h"

namespace {

constexpr mode_t kNewFileMode = 0600;
constexpr mode_t kPermissionBits = 0777;
constexpr std::size_t kRandomLetters = 12;
constexpr int kNameAttempts = 16;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kLetterCount = sizeof(kLetters) - 1;

std::string Prefix(const std::string& archiveName) { return "." + archiveName + ".vornix-"; }
constexpr char kSuffix[] = ".tmp";

std::string RandomLetters() {
  std::array<unsigned char, kRandomLetters> bytes{};
  SecureRandomBytes(bytes.data(), bytes.size());
  std::string letters;
  for (unsigned char byte : bytes) letters += kLetters[byte % kLetterCount];
  return letters;
}

std::string NewName(const std::string& archiveName) {
  return Prefix(archiveName) + RandomLetters() + kSuffix;
}

bool IsTempName(const std::string& archiveName, const std::string& name) {
  const std::string prefix = Prefix(archiveName);
  const std::size_t suffixLength = sizeof(kSuffix) - 1;
  if (name.size() != prefix.size() + kRandomLetters + suffixLength) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - suffixLength, suffixLength, kSuffix) != 0) return false;
  const std::string letters = name.substr(prefix.size(), kRandomLetters);
  return letters.find_first_not_of(kLetters) == std::string::npos;
}

// Only the owner's own files may change hands; a saver who is not the
// owner keeps at least the group where it belongs to it. True when the
// group is the old one.
bool KeepOwner(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) == 0) return true;
  return ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) == 0;
}

}  // namespace

TTempFile::TTempFile(int folderFd, std::string name, TFileDescriptor fd)
    : folderFd_(folderFd), name_(std::move(name)), fd_(std::move(fd)) {}

TTempFile::TTempFile(TTempFile&& other) noexcept
    : folderFd_(other.folderFd_),
      name_(std::move(other.name_)),
      fd_(std::move(other.fd_)),
      done_(std::exchange(other.done_, true)) {}

TTempFile TTempFile::Create(int folderFd, const std::string& archiveName,
                            const std::string& shownPath) {
  for (int attempt = 0;; ++attempt) {
    std::string name = NewName(archiveName);
    int fd = ::openat(folderFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      kNewFileMode);
    if (fd >= 0) return TTempFile(folderFd, std::move(name), TFileDescriptor(fd));
    if (errno != EEXIST || attempt == kNameAttempts) {
      ThrowFileError("Cannot create file", shownPath, errno);
    }
  }
}

std::optional<TTempFile> TTempFile::Link(int folderFd, const std::string& archiveName, int fd) {
  // Linking the open file through /proc names the file we hold, not whatever
  // its name points to by now.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt <= kNameAttempts; ++attempt) {
    std::string name = NewName(archiveName);
    if (::linkat(AT_FDCWD, self.c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      TFileDescriptor own(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
      if (own.IsOpen()) return TTempFile(folderFd, std::move(name), std::move(own));
      ::unlinkat(folderFd, name.c_str(), 0);
      return std::nullopt;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

TTempFile::~TTempFile() {
  if (!done_ && NameHoldsFile(folderFd_, name_, fd_.Get())) ::unlinkat(folderFd_, name_.c_str(), 0);
}

void TTempFile::TakeOwnerAndMode(const struct stat* old, const std::string& shownPath) {
  mode_t mode = kNewFileMode;
  if (old) {
    // Never the setuid, setgid or sticky bits; group rights only for the
    // group they were given to.
    mode = old->st_mode & kPermissionBits;
    if (!KeepOwner(Fd(), *old)) mode &= ~static_cast<mode_t>(S_IRWXG);
  }
  if (::fchmod(Fd(), mode) != 0) ThrowFileError("Cannot write file", shownPath, errno);
}

void TTempFile::Sync(const std::string& shownPath) {
  if (::fsync(Fd()) != 0) ThrowFileError("Cannot write file", shownPath, errno);
}

bool TTempFile::RenameOver(const std::string& target, const std::string& shownPath) {
  if (!NameHoldsFile(folderFd_, name_, Fd())) return false;
  if (::renameat(folderFd_, name_.c_str(), folderFd_, target.c_str()) != 0) {
    ThrowFileError("Cannot write file", shownPath, errno);
  }
  done_ = true;
  return true;
}

bool NameHoldsFile(int folderFd, const std::string& name, int fd) {
  struct stat named {};
  struct stat held {};
  if (fd < 0 || ::fstatat(folderFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (::fstat(fd, &held) != 0) return false;
  return S_ISREG(named.st_mode) && named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

void RemoveStaleTempFiles(int folderFd, const std::string& archiveName) {
  const uid_t self = ::geteuid();
  for (const std::string& name : FolderEntries(folderFd)) {
    if (!IsTempName(archiveName, name)) continue;
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && (st.st_uid == self || self == 0)) {
      ::unlinkat(folderFd, name.c_str(), 0);
    }
  }
}
