#pragma once
// A file of our own beside an archive, under a name only Vornix makes
// (".<archive name>.vornix-<12 random letters>.tmp"). Everything done to the
// file goes through the descriptor that created it; the name is used only to
// rename the finished file into place, or to remove it again.

#include <sys/stat.h>

#include <optional>
#include <string>

#include "archive/storage/file_descriptor.h"

class TTempFile {
 public:
  // Creates an empty file, mode 0600. Throws EFileError("Cannot create file
  // <shownPath>: <reason>").
  static TTempFile Create(int folderFd, const std::string& archiveName,
                          const std::string& shownPath);
  // Gives the file open as fd one more name (a hard link); nothing where
  // the file system or the system's rules allow no link.
  static std::optional<TTempFile> Link(int folderFd, const std::string& archiveName, int fd);

  // Removes the name unless the file was renamed into place; a name that
  // no longer holds our file is left alone.
  ~TTempFile();
  TTempFile(TTempFile&& other) noexcept;
  TTempFile(const TTempFile&) = delete;
  TTempFile& operator=(const TTempFile&) = delete;
  TTempFile& operator=(TTempFile&&) = delete;

  int Fd() const { return fd_.Get(); }
  const std::string& Name() const { return name_; }

  // Gives the file the owner, group and permission bits (0777 only) of
  // `old` as far as this process may, or 0600 when old is null.
  void TakeOwnerAndMode(const struct stat* old, const std::string& shownPath);
  void Sync(const std::string& shownPath);
  // Renames the file over target in the same folder. Returns false, renaming
  // nothing, when the temporary name no longer holds our file.
  bool RenameOver(const std::string& target, const std::string& shownPath);

 private:
  TTempFile(int folderFd, std::string name, TFileDescriptor fd);

  int folderFd_;
  std::string name_;
  TFileDescriptor fd_;
  bool done_ = false;
};

// True when the name in the folder is the regular file open as fd.
bool NameHoldsFile(int folderFd, const std::string& name, int fd);

// Removes the temporary files that interrupted saves of this archive left:
// our names, regular files, owned by this user (any owner for the
// superuser, whose backup links keep the archive's owner). Best effort.
void RemoveStaleTempFiles(int folderFd, const std::string& archiveName);
