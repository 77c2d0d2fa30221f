#pragma once
// Writing an archive file without ever destroying the previous one.

#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/crypto/zip_encryption.h"

struct TSaveOptions {
  // Empty: the site list is stored without encryption.
  std::string password;
  // Traditional or Aes256.
  TEncryption encryption = TEncryption::Traditional;
  // How many earlier versions are kept beside the archive (0: none).
  int backups = 1;
  // The password changed: the archive's backups, which would keep the old
  // password alive, are removed once the new file is saved.
  bool passwordChanged = false;
};

// The archive's name no longer holds the file this save wrote.
class EArchiveReplaced : public EFileError {
 public:
  using EFileError::EFileError;
};
// The archive file lacks its owner's write permission and is not replaced.
class EArchiveReadOnly : public EFileError {
 public:
  using EFileError::EFileError;
};

// What a save that happened could not do (a backup not made or not
// removed), one sentence each, naming the file and the reason.
using TSaveWarnings = std::vector<std::string>;

// Writes `data` as the member "Data" of the archive at path. Every other
// member of an existing archive, and its comment, are carried over byte for
// byte. The new archive is written to a temporary file in the same folder,
// flushed to disk and renamed over path (for a symbolic link: over the file
// it points to). On any failure path is untouched, no temporary file is left
// and an EFileError naming the file and the system's reason is thrown; a
// site list larger than any read takes (kMaxSiteListSize) throws
// EMemberTooLarge before anything is written. A backup that cannot be
// kept does not stop the save: it is one of the warnings returned.
// The caller holds the archive's TArchiveLock.
TSaveWarnings SaveDataArchive(const std::string& path, const std::string& data,
                              const TSaveOptions& options);

// The same with the default options and the given password.
TSaveWarnings SaveDataArchive(const std::string& path, const std::string& password,
                     const std::string& data);
