#include "archive/storage/descriptor_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/archive_errors.h"

namespace {

constexpr std::size_t kCopyChunk = 1 << 16;

void WriteBytes(int fd, const char* bytes, std::size_t count, const std::string& shownPath) {
  while (count > 0) {
    ssize_t done = ::write(fd, bytes, count);
    if (done < 0) {
      if (errno == EINTR) continue;
      ThrowFileError("Cannot write file", shownPath, errno);
    }
    bytes += done;
    count -= static_cast<std::size_t>(done);
  }
}

}  // namespace

void ThrowFileError(const std::string& action, const std::string& path, int error) {
  throw EFileError(action + " " + path + ": " + std::strerror(error));
}

void WriteAll(int fd, const std::string& bytes, const std::string& shownPath) {
  WriteBytes(fd, bytes.data(), bytes.size(), shownPath);
}

bool ReadAt(int fd, std::uint64_t offset, void* buffer, std::size_t count,
            const std::string& shownPath) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowFileError("Cannot read file", shownPath, errno);
    }
    if (got == 0) return false;
    out += got;
    offset += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

void CopyRange(int from, std::uint64_t offset, std::uint64_t count, int to,
               const std::string& shownPath) {
  std::vector<char> chunk(kCopyChunk);
  while (count > 0) {
    std::size_t part = count < chunk.size() ? static_cast<std::size_t>(count) : chunk.size();
    // The sizes were checked against the file when its layout was read; a
    // file that shrinks meanwhile is changed by someone else.
    if (!ReadAt(from, offset, chunk.data(), part, shownPath)) {
      throw EFileError("Cannot read file " + shownPath + ": the file was cut short");
    }
    WriteBytes(to, chunk.data(), part, shownPath);
    offset += part;
    count -= part;
  }
}
