#include "core/descriptor_io.h"

#include <unistd.h>

#include <array>
#include <cerrno>

namespace {

// One transfer step: bytes moved (0 at the end of the file) or -1 with errno.
template <class TStep>
TIoResult Repeat(std::size_t count, TStep step) {
  TIoResult result;
  while (result.count < count) {
    const ssize_t moved = step(result.count);
    if (moved < 0 && errno == EINTR) continue;
    if (moved < 0) {
      result.error = errno;
      break;
    }
    if (moved == 0) break;
    result.count += static_cast<std::size_t>(moved);
  }
  return result;
}

}  // namespace

TIoResult ReadFully(int fd, void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  return Repeat(count, [&](std::size_t done) { return ::read(fd, out + done, count - done); });
}

TIoResult ReadFullyAt(int fd, std::uint64_t offset, void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  return Repeat(count, [&](std::size_t done) {
    return ::pread(fd, out + done, count - done, static_cast<off_t>(offset + done));
  });
}

int ReadToEnd(int fd, std::string& out) {
  std::array<char, 1 << 14> chunk{};
  for (;;) {
    const TIoResult got = ReadFully(fd, chunk.data(), chunk.size());
    out.append(chunk.data(), got.count);
    if (got.error != 0) return got.error;
    if (got.count < chunk.size()) return 0;
  }
}

TIoResult WriteFully(int fd, const void* bytes, std::size_t count) {
  const auto* in = static_cast<const char*>(bytes);
  TIoResult result =
      Repeat(count, [&](std::size_t done) { return ::write(fd, in + done, count - done); });
  if (result.error == 0 && result.count < count) errno = result.error = EIO;
  return result;
}
