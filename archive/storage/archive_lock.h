#pragma once
// The lock that serialises changes to archives between Vornix processes.

#include <chrono>
#include <optional>
#include <string>

#include "archive/archive_errors.h"
#include "archive/storage/file_descriptor.h"

// The archive file may not be written by this user, or lacks its owner's
// write permission: it is not replaced.
class EArchiveReadOnly : public EFileError {
 public:
  using EFileError::EFileError;
};

// Waiting for the lock took longer than allowed.
class ELockTimeout : public EFileError {
 public:
  using EFileError::EFileError;
};

// Holds an exclusive write lock (an open-file-description lock) on the
// archive file itself for as long as it lives. Only a user who may open the
// archive for writing can take it, so others who merely see the folder or
// read the file cannot block a save. A save that renames a new file over the
// archive hands that file to the lock (Follow), so the lock always guards
// the file the name holds. An archive that does not exist yet is created
// empty (O_EXCL, mode 0600) and locked; if nothing is saved into it, it is
// removed again when the lock goes.
class TArchiveLock {
 public:
  static constexpr std::chrono::milliseconds kDefaultWait{10'000};

  // Waits up to `wait`, then throws ELockTimeout("The archive <path> is
  // being changed by another program"). Throws EFileError naming the file
  // and the system's reason when it cannot be opened or locked, and
  // EArchiveReadOnly when it may not be written.
  explicit TArchiveLock(const std::string& archivePath,
                        std::chrono::milliseconds wait = kDefaultWait);
  // One attempt: nothing when another holds the lock, for callers that wait
  // in their own way (the window polls from a timer and lets the user stop).
  static std::optional<TArchiveLock> TryAcquire(const std::string& archivePath);

  ~TArchiveLock();
  TArchiveLock(TArchiveLock&& other) noexcept;
  TArchiveLock& operator=(TArchiveLock&&) = delete;
  TArchiveLock(const TArchiveLock&) = delete;
  TArchiveLock& operator=(const TArchiveLock&) = delete;

  // Also locks the file a save is about to rename over the archive (the
  // descriptor that wrote it), so that the lock still guards the archive
  // after the rename. Nobody else can hold a lock on a file that has no
  // name yet, so this never waits. The old file stays locked as well.
  void Follow(int newFileFd);

  // The empty file this lock created, which no save has replaced yet.
  bool CreatedEmptyFile() const { return created_; }

 private:
  TArchiveLock() = default;
  enum class TAttempt { Locked, Busy, Retry };
  void Prepare(const std::string& archivePath);
  TFileDescriptor OpenOrCreate(const std::string& shownPath);
  TAttempt Attempt(const std::string& shownPath);

  std::string name_;
  TFileDescriptor folderFd_;
  TFileDescriptor fd_;
  TFileDescriptor followed_;
  bool created_ = false;
};
