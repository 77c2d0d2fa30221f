#pragma once
// The earlier versions of an archive kept beside it: keys.zip has
// keys.backup.zip (the latest), then keys.backup2.zip, keys.backup3.zip...
// Each keeps the archive's extension, so Vornix and ZIP tools open it.
//
// A backup name held by something that is not ours (not a regular file, or
// a file of an owner other than this user and the archive's) is left alone:
// in a shared folder anyone may create such a name, and it must not stop a
// save. What could not be kept is said in the warnings returned.

#include <sys/stat.h>

#include <string>
#include <vector>

// The name of backup `number` (1 is the latest) of the archive `archiveName`.
std::string BackupName(const std::string& archiveName, int number);

// Moves the backups one number up, the one past `count` dropped, and keeps
// the file open as oldFd (the archive about to be replaced, described by
// `old`) as backup 1: a hard link where the file system allows one, so the
// backup keeps the old owner and mode (less the setuid, setgid and sticky
// bits), otherwise a copy given them. Never throws for a backup: returns a
// warning for each backup that could not be made or moved, naming it
// (folderPath/name) and the reason.
std::vector<std::string> KeepBackup(int folderFd, const std::string& folderPath,
                                    const std::string& archiveName, int oldFd,
                                    const struct stat& old, int count);

// True for the names BackupName makes for the archive.
bool IsBackupName(const std::string& archiveName, const std::string& name);

// Moves the backups one number up, as KeepBackup does, and renames the file
// `name` of the same folder to backup 1. Failures throw EFileError.
void MoveIntoBackups(int folderFd, const std::string& folderPath, const std::string& archiveName,
                     const std::string& name, int count);

// Removes every backup of the archive whose owner is `owner`, this user or
// the archive's; returns a warning for each one that could not be removed.
std::vector<std::string> RemoveBackups(int folderFd, const std::string& folderPath,
                                       const std::string& archiveName, uid_t owner);
