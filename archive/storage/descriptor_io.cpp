#include "archive/storage/descriptor_io.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/archive_errors.h"
#include "core/descriptor_io.h"

namespace {

constexpr std::size_t kCopyChunk = 1 << 16;

void WriteBytes(int fd, const char* bytes, std::size_t count, const std::string& shownPath) {
  const TIoResult written = WriteFully(fd, bytes, count);
  if (written.error != 0) ThrowFileError("Cannot write file", shownPath, written.error);
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
  const TIoResult got = ReadFullyAt(fd, offset, buffer, count);
  if (got.error != 0) ThrowFileError("Cannot read file", shownPath, got.error);
  return got.count == count;
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
