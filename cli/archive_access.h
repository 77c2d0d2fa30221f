#pragma once
// Reading archives the way the window does: the archive engine extracts the
// member "Data", asking for the password when the member is encrypted.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "archive/crypto/hardened_key.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/storage/file_snapshot.h"
#include "core/change_records.h"
#include "core/pw_list.h"
#include "core/secret_bytes.h"

class TArchiveSession;

namespace cli {

class TPasswordInput;

struct TArchiveContent {
  std::string given;  // the path as the command line gave it, for messages
  std::string path;   // absolute, with symbolic links resolved: where saves go
  // The bytes that opened it; empty when not encrypted. Without a site list:
  // the password a site list added to it gets.
  TSecretBytes password;
  // The ZIP password that opened it: `password`, or for a hardened archive
  // the key derived from it with `hardened`.
  TSecretBytes zipPassword;
  std::optional<THardenedParams> hardened;
  TEncryption encryption = TEncryption::None;  // of the member "Data"
  std::vector<std::string> members;            // in the archive's directory order
  bool hasSiteList = false;                    // a member "Data" exists
  TSecretBytes data;                           // the member "Data" exactly as stored
  // The change records that describe `data` and open with its password.
  std::optional<TChangeRecords> records;
  std::uint32_t dataTime = 0;  // DOS date (high half) and time of "Data"
  // The file as it was just before the read that `data` holds (exists
  // false: not known, not asked for, or `data` given up).
  TFileSnapshot snapshot;

  // Members, but none of them the site list: not an archive this program
  // made, or one whose site list lost its name.
  bool LacksSiteList() const { return !hasSiteList && !members.empty(); }
  // `data` no longer holds what the read found.
  void GiveUpData() {
    data.Clear();
    snapshot = {};
  }
};

// Reads the member "Data". Without a password first; when the member is
// encrypted, asks `input` (once, or up to three times when a person answers
// at a terminal), and tries each answer as typed (UTF-8) and, when it
// differs, as Windows-1252 bytes, as older archives were written. Throws ECliError: the file cannot be read (kExitFailure, see
// TArchiveFile); the engine's message when the file is no archive it can
// read, an unencrypted member is damaged or the site list is too large
// (kExitNotArchive); "Cannot extract file - invalid password" when no
// password given opens an encrypted member (kExitWrongPassword).
// When `tryFirst` is given, that password is tried before any is asked for.
TArchiveContent ReadArchive(const std::string& path, TPasswordInput& input,
                            const std::string* tryFirst = nullptr);
// The same for a command that changes the archive: the content also holds
// the file as it was before the read, so that ReadArchiveAgain can tell
// whether it changed since.
TArchiveContent ReadArchiveToChange(const std::string& path, TPasswordInput& input);

// Reads the member "Data" again with the password an earlier read found,
// without asking: the archive may have changed in between. The session,
// named after the archive, takes what it finds (TArchiveSession::Open).
// When the file is still as `earlier` found it (the same file, size, time
// and checksum), the session takes `earlier`'s data and records instead.
// Either way `earlier`'s data is given up. When that password no longer
// opens it, throws ECliError (kExitWrongPassword).
TArchiveContent ReadArchiveAgain(TArchiveContent& earlier, TArchiveSession& session);

// The site list of the member "Data", which is given up to make it.
TqelPwList TakeSites(TArchiveContent& archive);

// "<path> holds no site list (no member Data)".
std::string NoSiteListText(const TArchiveContent& archive);

}  // namespace cli
