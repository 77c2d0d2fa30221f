#include "core/private_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "core/descriptor_io.h"
#include "core/secure_random.h"

namespace {

constexpr mode_t kFileMode = 0600;
constexpr mode_t kFolderMode = 0700;
constexpr int kNameAttempts = 16;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Closes a descriptor at scope end, keeping errno as the failure left it.
class TFd {
 public:
  explicit TFd(int fd) : fd_(fd) {}
  ~TFd() {
    const int saved = errno;
    if (fd_ >= 0) ::close(fd_);
    errno = saved;
  }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
  struct stat status {};
  if (::stat(folder.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return true;
    errno = ENOTDIR;
    return false;
  }
  if (errno != ENOENT) return false;
  const std::string parent = FolderOf(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), kFolderMode) == 0 || errno == EEXIST;
}

std::string TempName(const std::string& base) {
  std::array<unsigned char, 12> bytes{};
  SecureRandomBytes(bytes.data(), bytes.size());
  std::string name = "." + base + ".";
  for (unsigned char byte : bytes) name += kLetters[byte % (sizeof(kLetters) - 1)];
  return name + ".tmp";
}

// Writes the temporary file through fd and renames it over base.
bool FinishFile(int folderFd, int fd, const std::string& temp, const std::string& base,
                std::string_view bytes) {
  return ::fchmod(fd, kFileMode) == 0 && WriteFully(fd, bytes).error == 0 && ::fsync(fd) == 0 &&
         ::renameat(folderFd, temp.c_str(), folderFd, base.c_str()) == 0;
}

}  // namespace

bool ReplacePrivateFile(const std::string& path, std::string_view bytes) {
  const std::string folder = FolderOf(path);
  const std::string base = path.substr(path.rfind('/') + 1);  // npos + 1 is 0
  if (base.empty() || !MakeFolders(folder)) {
    if (base.empty()) errno = EISDIR;
    return false;
  }
  const TFd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Get() < 0) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string temp = TempName(base);
    const TFd fd(::openat(folderFd.Get(), temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
    if (fd.Get() < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (!FinishFile(folderFd.Get(), fd.Get(), temp, base, bytes)) {
      const int saved = errno;
      ::unlinkat(folderFd.Get(), temp.c_str(), 0);
      errno = saved;
      return false;
    }
    // The rename itself lasts once the folder is on the disk.
    ::fsync(folderFd.Get());
    return true;
  }
  errno = EEXIST;
  return false;
}

bool CreatePrivateFile(const std::string& path, std::string_view bytes) {
  const TFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
  if (fd.Get() < 0) return false;
  if (WriteFully(fd.Get(), bytes).error != 0 || ::fsync(fd.Get()) != 0) {
    // Half an export is no export: the file made here goes again.
    const int saved = errno;
    ::unlink(path.c_str());
    errno = saved;
    return false;
  }
  return true;
}
