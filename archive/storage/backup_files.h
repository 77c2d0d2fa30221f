#pragma once
// The earlier versions of an archive kept beside it: keys.zip has
// keys.backup.zip (the latest), then keys.backup2.zip, keys.backup3.zip...
// Each keeps the archive's extension, so Vornix and ZIP tools open it.

#include <sys/stat.h>

#include <string>

// The name of backup `number` (1 is the latest) of the archive `archiveName`.
std::string BackupName(const std::string& archiveName, int number);

// Moves the backups one number up, the one past `count` dropped, and keeps
// the file open as oldFd (the archive about to be replaced) as backup 1: a
// hard link where the file system allows one, so the backup keeps the old
// owner and mode, otherwise a copy given them. Failures throw EFileError
// naming the backup (folderPath/name).
void KeepBackup(int folderFd, const std::string& folderPath, const std::string& archiveName,
                int oldFd, const struct stat& old, int count);

// True for the names BackupName makes for the archive.
bool IsBackupName(const std::string& archiveName, const std::string& name);

// Moves the backups one number up, as KeepBackup does, and renames the file
// `name` of the same folder to backup 1. Failures throw EFileError.
void MoveIntoBackups(int folderFd, const std::string& folderPath, const std::string& archiveName,
                     const std::string& name, int count);

// Removes every backup of the archive; throws EFileError naming the first
// one that could not be removed.
void RemoveBackups(int folderFd, const std::string& folderPath, const std::string& archiveName);
