#pragma once
// The copies of an archive that file-syncing services leave beside it when
// two devices changed it while apart, and getting rid of them once merged:
//   keys.sync-conflict-20261209-001635-H7X6HMZ.zip
//   keys (conflicted copy 2026-12-09 001635).zip      (user name may precede the date)
//   keys_conflict-20261209-001635.zip
//   keys (Ann's conflicted copy 2026-12-09).zip
// and conflict copies of those.

#include <string>
#include <vector>

enum class TConflictCopyKind { None, OfArchive, OfBackup };

// Whether `name` is a conflict copy of the archive `archiveName` or of one
// of its backups (names in the same folder).
TConflictCopyKind ConflictCopyKind(const std::string& archiveName, const std::string& name);

// The archive's conflict copies in its folder, sorted by name.
std::vector<std::string> ConflictCopiesOf(const std::string& archivePath);

// A merged conflict copy becomes the archive's newest backup (the older ones
// move up, keeping `backups` of them, at least one), so nothing it held is
// lost; conflict copies of the backups, older versions only, are removed.
// Throws EFileError naming the file that could not be moved or removed.
void RetireConflictCopy(const std::string& archivePath, const std::string& copyName, int backups);
void RemoveBackupConflictCopies(const std::string& archivePath);
