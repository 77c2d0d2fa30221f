#include "archive/storage/file_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "archive/archive_errors.h"
#include "archive/codec/crc32.h"
#include "core/descriptor_io.h"

namespace {

[[noreturn]] void FailSnapshot(const std::string& path, const std::string& reason) {
  throw EFileError("Cannot read file " + path + ": " + reason);
}

class TReadOnlyFile {
 public:
  explicit TReadOnlyFile(const std::string& path)
      // Non-blocking, so that a FIFO at the path cannot hang the caller.
      : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {}
  ~TReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
  int Fd() const { return fd_; }

 private:
  int fd_;
};

std::uint32_t FileCrc(int fd, const std::string& path) {
  std::array<char, 1 << 16> buffer;
  std::uint32_t crc = 0xFFFFFFFFu;
  for (;;) {
    const TIoResult got = ReadFully(fd, buffer.data(), buffer.size());
    if (got.error != 0) FailSnapshot(path, std::strerror(got.error));
    crc = Crc32Update(crc, buffer.data(), got.count);
    if (got.count < buffer.size()) return ~crc;
  }
}

}  // namespace

TFileSnapshot TakeFileSnapshot(const std::string& path) {
  const TReadOnlyFile file(path);
  if (file.Fd() < 0) {
    if (errno == ENOENT) return {};
    FailSnapshot(path, std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(file.Fd(), &st) != 0) FailSnapshot(path, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) FailSnapshot(path, "not a regular file");
  TFileSnapshot snapshot;
  snapshot.exists = true;
  snapshot.device = st.st_dev;
  snapshot.inode = st.st_ino;
  snapshot.size = static_cast<std::uint64_t>(st.st_size);
  snapshot.modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
  snapshot.crc = FileCrc(file.Fd(), path);
  return snapshot;
}
