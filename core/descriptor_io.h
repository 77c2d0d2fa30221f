#pragma once
// Reads and writes through file descriptors that go on after interruptions
// (EINTR) and short transfers, so that no caller writes that loop again.
// Failures come back as the errno value (and errno itself is left set); a
// write that makes no progress counts as EIO.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct TIoResult {
  std::size_t count = 0;  // bytes moved before the end of the file or a failure
  int error = 0;          // 0, or the errno of the failure
};

// Up to count bytes at the descriptor's position; fewer only at the end of
// the file or on a failure.
TIoResult ReadFully(int fd, void* buffer, std::size_t count);
// The same at offset, leaving the descriptor's position alone.
TIoResult ReadFullyAt(int fd, std::uint64_t offset, void* buffer, std::size_t count);
// Everything from the descriptor's position to the end of the file,
// appended to out; 0 or the errno of the failure.
int ReadToEnd(int fd, std::string& out);
// All bytes at the descriptor's position.
TIoResult WriteFully(int fd, const void* bytes, std::size_t count);
inline TIoResult WriteFully(int fd, std::string_view bytes) {
  return WriteFully(fd, bytes.data(), bytes.size());
}
