#include "archive/storage/backup_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
// Why `name` cannot take a backup of ours; empty when it is free or holds a
// regular file of this user or of `owner` (a backup linked by the
// superuser keeps the archive's owner).
std::string ForeignReason(int folderFd, const std::string& name, uid_t owner) {
  struct stat st {};
  if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return {};
  if (!S_ISREG(st.st_mode)) return "its name is held by something that is not a regular file";
  if (st.st_uid != ::geteuid() && st.st_uid != owner) {
    return "its name is held by a file of another user (uid " + std::to_string(st.st_uid) + ")";
  }
  return {};
}

std::string NotMade(const std::string& folderPath, const std::string& name,
                    const std::string& reason) {
  return "The backup " + folderPath + "/" + name + " was not made: " + reason;
}

TTempFile CopyOf(int folderFd, const std::string& archiveName, int oldFd, const struct stat& old,
                 const std::string& shownPath) {
  TTempFile copy = TTempFile::Create(folderFd, archiveName, shownPath);
  CopyRange(oldFd, 0, static_cast<std::uint64_t>(old.st_size), copy.Fd(), shownPath);
  copy.TakeOwnerAndMode(&old, shownPath);
  copy.Sync(shownPath);
  return copy;
}

// The old file under a temporary name: linked, its setuid, setgid and sticky
// bits dropped through the descriptor (a link whose mode we may not change
// gives way to a copy), or copied.
TTempFile KeptFile(int folderFd, const std::string& archiveName, int oldFd,
                   const struct stat& old, const std::string& shownPath) {
  constexpr mode_t kSpecialBits = S_ISUID | S_ISGID | S_ISVTX;
  std::optional<TTempFile> link = TTempFile::Link(folderFd, archiveName, oldFd);
  if (link && (old.st_mode & kSpecialBits) != 0 &&
      ::fchmod(link->Fd(), old.st_mode & ~kSpecialBits & 07777) != 0) {
    link.reset();
  }
  if (link) return std::move(*link);
  return CopyOf(folderFd, archiveName, oldFd, old, shownPath);
}

// Moves backup number-1 to number; our backups only, and never over a name
// that is not ours.
void MoveUp(int folderFd, const std::string& folderPath, const std::string& archiveName,
            int number, uid_t owner, std::vector<std::string>& warnings) {
  const std::string from = BackupName(archiveName, number - 1);
  const std::string to = BackupName(archiveName, number);
  if (!ForeignReason(folderFd, from, owner).empty()) return;
  if (const std::string reason = ForeignReason(folderFd, to, owner); !reason.empty()) {
    warnings.push_back(NotMade(folderPath, to, reason));
    return;
  }
  if (::renameat(folderFd, from.c_str(), folderFd, to.c_str()) != 0 && errno != ENOENT) {
    warnings.push_back(NotMade(folderPath, to, std::strerror(errno)));
  }
}

}  // namespace

std::string BackupName(const std::string& archiveName, int number) {
  const TNameParts parts = SplitName(archiveName);
  return parts.stem + kBackupMark + (number > 1 ? std::to_string(number) : "") + parts.extension;
}

std::vector<std::string> KeepBackup(int folderFd, const std::string& folderPath,
                                    const std::string& archiveName, int oldFd,
                                    const struct stat& old, int count) {
  const std::string latest = BackupName(archiveName, 1);
  const std::string shownPath = folderPath + "/" + latest;
  // With the latest name not ours nothing moves up: no backup would take
  // the place of the one dropped.
  if (const std::string reason = ForeignReason(folderFd, latest, old.st_uid); !reason.empty()) {
    return {NotMade(folderPath, latest, reason)};
  }
  // A save killed between its two renames leaves the archive linked as its
  // own latest backup; a rename between two links of one file does nothing
  // and would leave the temporary link behind.
  if (NameHoldsFile(folderFd, latest, oldFd)) return {};
  std::vector<std::string> warnings;
  try {
    TTempFile kept = KeptFile(folderFd, archiveName, oldFd, old, shownPath);
    for (int number = count; number >= 2; --number) {
      MoveUp(folderFd, folderPath, archiveName, number, old.st_uid, warnings);
    }
    // Rechecked: the name may have been taken meanwhile.
    const std::string reason = ForeignReason(folderFd, latest, old.st_uid);
    if (!reason.empty()) {
      warnings.push_back(NotMade(folderPath, latest, reason));
    } else if (!kept.RenameOver(latest, shownPath)) {
      warnings.push_back(NotMade(folderPath, latest, "replaced by another program"));
    }
  } catch (const EFileError& e) {
    warnings.push_back(NotMade(folderPath, latest, e.what()));
  }
  return warnings;
}

void MoveIntoBackups(int folderFd, const std::string& folderPath, const std::string& archiveName,
                     const std::string& name, int count) {
  const std::string latest = BackupName(archiveName, 1);
  if (const std::string reason = ForeignReason(folderFd, latest, ::geteuid()); !reason.empty()) {
    throw EFileError(NotMade(folderPath, latest, reason));
  }
  std::vector<std::string> ignored;  // a backup that cannot move up stays where it is
  for (int number = count; number >= 2; --number) {
    MoveUp(folderFd, folderPath, archiveName, number, ::geteuid(), ignored);
  }
  if (::renameat(folderFd, name.c_str(), folderFd, latest.c_str()) != 0) {
    ThrowFileError("Cannot write file", folderPath + "/" + latest, errno);
  }
}

std::vector<std::string> RemoveBackups(int folderFd, const std::string& folderPath,
                                       const std::string& archiveName, uid_t owner) {
  std::vector<std::string> warnings;
  for (const std::string& name : FolderEntries(folderFd)) {
    if (!IsBackupName(archiveName, name) || !ForeignReason(folderFd, name, owner).empty()) {
      continue;
    }
    if (::unlinkat(folderFd, name.c_str(), 0) != 0 && errno != ENOENT) {
      warnings.push_back("The backup " + folderPath + "/" + name +
                         " was not removed: " + std::strerror(errno));
    }
  }
  return warnings;
}
