#include "cli/archive_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "cli/cli_error.h"
#include "core/descriptor_io.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

// The path with every symbolic link resolved, or the reason it cannot be.
fs::path ResolvedPath(const std::string& given, const std::string& path) {
  std::error_code ec;
  fs::path resolved = fs::canonical(AbsolutePath(path), ec);
  if (ec == std::errc::no_such_file_or_directory) {
    throw ECliError(kExitFailure, given + ": no such file");
  }
  if (ec) ThrowCannotRead(given, ec.message());
  return resolved;
}

}  // namespace

TArchiveFile::TArchiveFile(const std::string& given, const std::string& path)
    : given_(given), path_(ResolvedPath(given, path.empty() ? given : path).string()) {
  // Not following a link here keeps the name resolved above the one opened;
  // O_NONBLOCK keeps a FIFO from blocking before it is refused.
  fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd_ < 0) {
    if (errno == ENOENT) throw ECliError(kExitFailure, given + ": no such file");
    ThrowCannotRead(given, std::strerror(errno));
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) {
    const int error = errno;
    ::close(fd_);
    ThrowCannotRead(given, std::strerror(error));
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd_);
    throw ECliError(kExitFailure, given + ": not a file");
  }
  if (st.st_size == 0) {
    ::close(fd_);
    throw ECliError(kExitNotArchive, given + " is empty, not an archive; use create to make one");
  }
}

TArchiveFile::~TArchiveFile() { ::close(fd_); }

std::string TArchiveFile::ReadFailure() const {
  constexpr std::size_t kPiece = 1 << 16;
  std::vector<char> buffer(kPiece);
  for (std::uint64_t offset = 0;;) {
    const TIoResult got = ReadFullyAt(fd_, offset, buffer.data(), buffer.size());
    if (got.error != 0) return std::strerror(got.error);
    if (got.count < buffer.size()) return "";
    offset += got.count;
  }
}

std::string AbsolutePath(const std::string& path) {
  return fs::absolute(fs::path(path)).lexically_normal().string();
}

void ThrowCannotRead(const std::string& given, const std::string& reason) {
  throw ECliError(kExitFailure, "cannot read " + given + ": " + reason);
}

}  // namespace cli
