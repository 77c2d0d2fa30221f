#include "archive/storage/conflict_copies.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <regex>

#include "archive/archive_errors.h"
#include "archive/storage/archive_place.h"
#include "archive/storage/backup_files.h"
#include "archive/storage/descriptor_io.h"
#include "archive/storage/file_descriptor.h"
#include "archive/storage/folder_entries.h"

namespace {

// What each service appends to the name before its extension.
const std::vector<std::regex>& ConflictMarks() {
  static const std::vector<std::regex> marks = {
      std::regex(R"(\.sync-conflict-\d{8}-\d{6}-[A-Z0-9]{7}$)"),
      std::regex(R"( \(conflicted copy (.+ )?\d{4}-\d{2}-\d{2} \d{6}\)$)"),
      std::regex(R"(_conflict-\d{8}-\d{6}$)"),
      std::regex(R"( \(.+(?:'|\xE2\x80\x99)s conflicted copy \d{4}-\d{2}-\d{2}\)$)"),
  };
  return marks;
}

// The stem with every conflict mark taken off its end; false when it had none.
bool StripConflictMarks(std::string& stem) {
  bool stripped = false;
  for (bool again = true; again;) {
    again = false;
    for (const std::regex& mark : ConflictMarks()) {
      std::smatch match;
      if (std::regex_search(stem, match, mark)) {
        stem.erase(static_cast<std::size_t>(match.position(0)));
        stripped = again = true;
      }
    }
  }
  return stripped;
}

std::string Extension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

TFileDescriptor OpenFolder(const std::string& folder) {
  TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.IsOpen()) ThrowFileError("Cannot open file", folder, errno);
  return fd;
}

}  // namespace

TConflictCopyKind ConflictCopyKind(const std::string& archiveName, const std::string& name) {
  const std::string extension = Extension(archiveName);
  if (Extension(name) != extension || name == archiveName) return TConflictCopyKind::None;
  std::string stem = name.substr(0, name.size() - extension.size());
  if (!StripConflictMarks(stem)) return TConflictCopyKind::None;
  const std::string original = stem + extension;
  if (original == archiveName) return TConflictCopyKind::OfArchive;
  if (IsBackupName(archiveName, original)) return TConflictCopyKind::OfBackup;
  return TConflictCopyKind::None;
}

std::vector<std::string> ConflictCopiesOf(const std::string& archivePath) {
  const TArchivePlace place = ResolveArchivePlace(archivePath);
  const TFileDescriptor folder(::open(place.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  std::vector<std::string> copies;
  if (!folder.IsOpen()) return copies;
  for (const std::string& name : FolderEntries(folder.Get())) {
    if (ConflictCopyKind(place.name, name) == TConflictCopyKind::OfArchive) copies.push_back(name);
  }
  std::sort(copies.begin(), copies.end());
  return copies;
}

void RetireConflictCopy(const std::string& archivePath, const std::string& copyName, int backups) {
  const TArchivePlace place = ResolveArchivePlace(archivePath);
  const TFileDescriptor folder = OpenFolder(place.folder);
  MoveIntoBackups(folder.Get(), place.folder, place.name, copyName, std::max(backups, 1));
}

void RemoveBackupConflictCopies(const std::string& archivePath) {
  const TArchivePlace place = ResolveArchivePlace(archivePath);
  const TFileDescriptor folder = OpenFolder(place.folder);
  for (const std::string& name : FolderEntries(folder.Get())) {
    if (ConflictCopyKind(place.name, name) != TConflictCopyKind::OfBackup) continue;
    if (::unlinkat(folder.Get(), name.c_str(), 0) != 0 && errno != ENOENT) {
      ThrowFileError("Cannot remove file", place.folder + "/" + name, errno);
    }
  }
}
