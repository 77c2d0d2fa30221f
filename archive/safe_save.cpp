#include "archive/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/streams.h"
#include "archive/zip_engine.h"

namespace {

constexpr mode_t kNewFileMode = 0600;

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A temporary file beside the target, removed again unless committed.
class TTempFile {
 public:
  TTempFile(const std::string& target, const std::string& shownName) {
    std::string pattern = FolderOf(target) + "/." + BaseNameOf(target) + ".XXXXXX.zip";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) throw EFileError("Cannot create file " + shownName);
    ::close(fd);
    path_ = name.data();
  }
  ~TTempFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;

  const std::string& Path() const { return path_; }
  void Commit() { path_.clear(); }

 private:
  std::string path_;
};

void WriteArchive(const std::string& tempPath, const std::string& password,
                  const std::string& data) {
  // The writer opens the empty file mkstemps made as an archive without
  // members, so the name is never given up to be created again.
  TMemoryStream buffer(data);
  TZipWriter writer;
  bool memberFailed = false;
  writer.OnProcessItemFailure = [&memberFailed](TZipComponent&, const TZipItem&, int, int, int) {
    memberFailed = true;
  };
  writer.SetPassword(password);
  writer.SetFileName(tempPath);
  writer.AddFromStream("Data", buffer);
  writer.CloseArchive();
  // An archive without its data must not replace the old one.
  if (memberFailed) throw EZipError(21, "Invalid Stream");
}

void SyncFile(const std::string& path, const std::string& target) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError("Cannot open file " + target);
  int rc = ::fsync(fd);
  ::close(fd);
  if (rc != 0) throw EFileError("Cannot write file " + target);
}

void SetPermissions(const std::string& tempPath, const std::string& target,
                    const std::string& shownName) {
  struct stat st {};
  mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : kNewFileMode;
  if (::chmod(tempPath.c_str(), mode) != 0) throw EFileError("Cannot write file " + shownName);
}

// Makes the rename itself durable; a folder that cannot be synced (some file
// systems refuse) does not undo a save that has already happened.
void SyncFolder(const std::string& target) {
  int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file really replaced: an absolute path (the writer needs one), and
// for a symbolic link the file it points to, so the link itself survives.
std::string ResolveTarget(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path target = fs::absolute(fs::path(path), ec);
  if (ec) return path;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  return target.lexically_normal().string();
}

}  // namespace

void SaveDataArchive(const std::string& path, const std::string& password,
                     const std::string& data) {
  TSaveOptions options;
  options.password = password;
  SaveDataArchive(path, data, options);
}

// Error messages name the file as the caller gave it.
void SaveDataArchive(const std::string& path, const std::string& data,
                     const TSaveOptions& options) {
  const std::string& password = options.password;
  const std::string target = ResolveTarget(path);
  TTempFile temp(target, path);
  WriteArchive(temp.Path(), password, data);
  SyncFile(temp.Path(), path);
  SetPermissions(temp.Path(), target, path);
  if (::rename(temp.Path().c_str(), target.c_str()) != 0) {
    throw EFileError("Cannot create file " + path);
  }
  temp.Commit();
  SyncFolder(target);
}
