#pragma once
// Writing an archive file without ever destroying the previous one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/crypto/hardened_key.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/storage/archive_lock.h"
#include "core/secret_bytes.h"

struct TNewMember;

struct TSaveOptions {
  // Empty: the site list is stored without encryption. For Aes256Hardened
  // the key derived with `hardened`, not the person's password.
  TSecretBytes password;
  // Traditional, Aes256 or Aes256Hardened.
  TEncryption encryption = TEncryption::Traditional;
  // For Aes256Hardened: the salt and cost the key was derived with, which
  // every member written records.
  std::optional<THardenedParams> hardened;
  // How many earlier versions are kept beside the archive (0: none).
  int backups = 1;
  // The password changed: the archive's backups, which would keep the old
  // password alive, are removed once the new file is saved.
  bool passwordChanged = false;
  // The lock the caller holds: it takes over the new file before the
  // rename, so that another process waiting for the archive cannot lock the
  // new file while this one still works on it.
  TArchiveLock* lock = nullptr;
  // For callers that keep no backup: an existing file that is not empty but
  // whose members cannot be carried over is refused ("Invalid file - not a
  // PKZip file") rather than replaced by the new members alone.
  bool refuseUnreadable = false;
};

// The archive's name no longer holds the file this save wrote.
class EArchiveReplaced : public EFileError {
 public:
  using EFileError::EFileError;
};

// One member a save writes, by name. The data is the caller's, read in
// place while the save runs: a site list is not copied to be saved.
struct TNamedMember {
  std::string name;
  std::string_view data;
};

// What a save that happened could not do (a backup not made or not
// removed), one sentence each, naming the file and the reason.
using TSaveWarnings = std::vector<std::string>;

// Writes `members` into the archive at path, each compressed and encrypted
// as the options say; each replaces the old member of its name. Old members
// named in `dropped` go; every other member of an existing archive, and its
// comment, are carried over byte for byte. Otherwise as SaveDataArchive.
TSaveWarnings SaveArchiveMembers(const std::string& path, const std::vector<TNamedMember>& members,
                                 const std::vector<std::string>& dropped,
                                 const TSaveOptions& options);

// The same with members already compressed and encrypted (ProduceNewMember),
// for callers that tell a member that cannot be made from a save that fails.
// No members: an existing archive is rewritten as it is, a missing or empty
// file becomes an archive without members (an end record alone).
TSaveWarnings SaveNewMembers(const std::string& path, std::vector<TNewMember> members,
                             const std::vector<std::string>& dropped, const TSaveOptions& options);

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
