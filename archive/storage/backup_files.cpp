#include "archive/storage/backup_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "archive/archive_errors.h"
#include "archive/storage/descriptor_io.h"
#include "archive/storage/folder_entries.h"
#include "archive/storage/temp_file.h"

namespace {

constexpr char kBackupMark[] = ".backup";

struct TNameParts {
  std::string stem;
  std::string extension;
};

// "keys.zip" -> "keys" and ".zip"; a name without a dot (or with only a
// leading one) has no extension.
TNameParts SplitName(const std::string& name) {
  auto dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

}  // namespace

bool IsBackupName(const std::string& archiveName, const std::string& name) {
  const TNameParts parts = SplitName(archiveName);
  const std::string prefix = parts.stem + kBackupMark;
  if (name.size() < prefix.size() + parts.extension.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  if (name.compare(name.size() - parts.extension.size(), parts.extension.size(), parts.extension) !=
      0) {
    return false;
  }
  const std::string number =
      name.substr(prefix.size(), name.size() - prefix.size() - parts.extension.size());
  if (number.empty()) return true;
  // Numbered backups start at 2; other digits are not names we make.
  return number.find_first_not_of("0123456789") == std::string::npos && number[0] != '0' &&
         number != "1";
}

namespace {

TTempFile CopyOf(int folderFd, const std::string& archiveName, int oldFd, const struct stat& old,
                 const std::string& shownPath) {
  TTempFile copy = TTempFile::Create(folderFd, archiveName, shownPath);
  CopyRange(oldFd, 0, static_cast<std::uint64_t>(old.st_size), copy.Fd(), shownPath);
  copy.TakeOwnerAndMode(&old, shownPath);
  copy.Sync(shownPath);
  return copy;
}

void RenameIfPresent(int folderFd, const std::string& from, const std::string& to,
                     const std::string& folderPath) {
  if (::renameat(folderFd, from.c_str(), folderFd, to.c_str()) != 0 && errno != ENOENT) {
    ThrowFileError("Cannot write file", folderPath + "/" + to, errno);
  }
}

void ShiftBackups(int folderFd, const std::string& folderPath, const std::string& archiveName,
                  int count) {
  for (int number = count; number >= 2; --number) {
    RenameIfPresent(folderFd, BackupName(archiveName, number - 1), BackupName(archiveName, number),
                    folderPath);
  }
}

}  // namespace

std::string BackupName(const std::string& archiveName, int number) {
  const TNameParts parts = SplitName(archiveName);
  return parts.stem + kBackupMark + (number > 1 ? std::to_string(number) : "") + parts.extension;
}

void KeepBackup(int folderFd, const std::string& folderPath, const std::string& archiveName,
                int oldFd, const struct stat& old, int count) {
  const std::string latest = BackupName(archiveName, 1);
  const std::string shownPath = folderPath + "/" + latest;
  std::optional<TTempFile> kept = TTempFile::Link(folderFd, archiveName, oldFd);
  if (!kept) kept.emplace(CopyOf(folderFd, archiveName, oldFd, old, shownPath));
  ShiftBackups(folderFd, folderPath, archiveName, count);
  if (!kept->RenameOver(latest, shownPath)) {
    throw EFileError("Cannot write file " + shownPath + ": replaced by another program");
  }
}

void MoveIntoBackups(int folderFd, const std::string& folderPath, const std::string& archiveName,
                     const std::string& name, int count) {
  ShiftBackups(folderFd, folderPath, archiveName, count);
  const std::string latest = BackupName(archiveName, 1);
  if (::renameat(folderFd, name.c_str(), folderFd, latest.c_str()) != 0) {
    ThrowFileError("Cannot write file", folderPath + "/" + latest, errno);
  }
}

void RemoveBackups(int folderFd, const std::string& folderPath, const std::string& archiveName) {
  int failure = 0;
  std::string failed;
  for (const std::string& name : FolderEntries(folderFd)) {
    if (!IsBackupName(archiveName, name)) continue;
    if (::unlinkat(folderFd, name.c_str(), 0) != 0 && errno != ENOENT && failure == 0) {
      failure = errno;
      failed = name;
    }
  }
  // Every other backup is gone before the first failure is reported.
  if (failure != 0) ThrowFileError("Cannot remove file", folderPath + "/" + failed, failure);
}
