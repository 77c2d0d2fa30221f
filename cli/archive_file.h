#pragma once
// The archive file a command names, checked before the archive engine reads
// it, so that what goes wrong is reported with the file and the system's
// reason instead of as "not an archive".

#include <string>

namespace cli {

// An open, readable, non-empty regular file; the descriptor closes itself.
class TArchiveFile {
 public:
  // `given` is the path as the command line gave it (messages name it);
  // `path`, when not empty, is the file to open instead (the resolved path of
  // an earlier open). Throws ECliError: "<given>: no such file", "<given>: not a file" or
  // "cannot read <given>: <reason>" (kExitFailure); "<given> is empty, not
  // an archive; use create to make one" (kExitNotArchive).
  explicit TArchiveFile(const std::string& given, const std::string& path = "");
  ~TArchiveFile();
  TArchiveFile(const TArchiveFile&) = delete;
  TArchiveFile& operator=(const TArchiveFile&) = delete;

  const std::string& Given() const { return given_; }
  // Absolute, with symbolic links resolved: what the engine opens and where
  // saves go.
  const std::string& Path() const { return path_; }
  // Reads the whole file through the descriptor; the system's reason when a
  // read fails, an empty string when every byte could be read.
  std::string ReadFailure() const;

 private:
  std::string given_;
  std::string path_;
  int fd_ = -1;
};

// The absolute form of a path given on the command line.
std::string AbsolutePath(const std::string& path);

// "cannot read <given>: <reason>" as an ECliError (kExitFailure).
[[noreturn]] void ThrowCannotRead(const std::string& given, const std::string& reason);

}  // namespace cli
