#pragma once
// The lock that serialises changes to archives between Vornix processes.

#include <chrono>
#include <string>

#include "archive/archive_errors.h"
#include "archive/storage/file_descriptor.h"

// Waiting for the lock took longer than allowed.
class ELockTimeout : public EFileError {
 public:
  using EFileError::EFileError;
};

// Holds an exclusive lock on the folder that contains the archive (for a
// symbolic link, the folder of the file it points to) for as long as it
// lives. A folder outlives every rename inside it, so two processes always
// lock the same thing, and no lock file is left beside the archive.
class TArchiveLock {
 public:
  static constexpr std::chrono::milliseconds kDefaultWait{10'000};

  // Waits up to `wait`, then throws ELockTimeout("The archive <path> is
  // being changed by another program"). Throws EFileError naming the folder
  // and the system's reason when the folder cannot be opened.
  explicit TArchiveLock(const std::string& archivePath,
                        std::chrono::milliseconds wait = kDefaultWait);
  ~TArchiveLock();
  TArchiveLock(const TArchiveLock&) = delete;
  TArchiveLock& operator=(const TArchiveLock&) = delete;

 private:
  TFileDescriptor fd_;
};
