#pragma once
// How commands get at their archive. Reading commands read it once. Changing
// commands ask for every password they need first, then take the archive's
// lock, read the archive again, change it, save it and let go, so no lock is
// held while a person types and no change another process saved in between
// is lost.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_session.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/safe_save.h"
#include "cli/archive_access.h"
#include "cli/arg_parser.h"

namespace cli {

struct TCliContext;

// --backups N and --force, taken by the commands that change an existing
// archive.
std::vector<TOptionDef> ChangeOptionDefs();
// The encryption a save writes for an --encryption value (aes256, hardened,
// traditional), or nullopt for any other.
std::optional<TEncryption> EncryptionToSave(std::string_view name);
// The --encryption choice, or nullopt when it was not given; EUsageError for
// any other value.
std::optional<TEncryption> EncryptionOption(const TCliContext& ctx);

// Reads the archive named by the first positional; one with members but no
// site list gets a warning (it shows no sites).
TArchiveContent ReadToShow(TCliContext& ctx);

// Reads the archive named by the first positional, asking for its password,
// for a change. Refuses one with members but no site list (kExitNotArchive)
// unless --force was given, and a bad --backups value (EUsageError).
TArchiveContent ReadForChange(TCliContext& ctx);

// Asks for a new archive password twice; an empty one is taken after a
// warning that the archive is saved without encryption.
TSecretBytes AskNewArchivePassword(TCliContext& ctx);

// For create and passwd: asks for a new archive password twice and puts it
// into the options as their encryption (already set) writes it. An empty
// password is refused (EUsageError) unless --no-password was given, which
// reads no password at all and saves without encryption.
void SetNewArchivePassword(TCliContext& ctx, TSaveOptions& options);

// For an archive that gets its first site list through --force: asks for the
// password that site list is saved with, twice, as create does.
void AskNewSiteListPassword(TCliContext& ctx, TArchiveContent& archive);

// The archive as it is under its lock, for the time of one change: an
// archive session (archive/archive_session.h) read again under the lock.
class TLockedArchive {
 public:
  // Takes the lock (waiting as TArchiveLock does; ELockTimeout otherwise)
  // and reads the archive again with the password `earlier` was read with.
  // The data of `earlier` is given up.
  TLockedArchive(const TCliContext& ctx, TArchiveContent& earlier);
  ~TLockedArchive();
  TLockedArchive(const TLockedArchive&) = delete;
  TLockedArchive& operator=(const TLockedArchive&) = delete;

  TArchiveContent& Content() { return content_; }
  // The options a save of this archive takes: its password and encryption
  // as read, and --backups.
  TSaveOptions SaveOptions();
  // Saves data as the site list, with change records that stamp what
  // changed since the read; ECliError (kExitFailure; kExitDataError for a
  // site list too large to save) with the save's message when it fails, the
  // file then being left as it was. What the save could not do (a backup)
  // is printed as a warning.
  void Save(const std::string& data, const TSaveOptions& options);
  void Save(const TqelPwList& sites);
  // The same with the records a merge made (none: the archive keeps none).
  void Save(const std::string& data, const std::optional<TChangeRecords>& records,
            const TSaveOptions& options);

 private:
  const TCliContext& ctx_;
  TArchiveLock lock_;
  TArchiveSession session_;
  TArchiveContent content_;
};

// Saves data as the only member of a new archive at path under the
// archive's lock; ECliError (kExitFailure) when it fails.
void SaveNewArchive(const std::string& path, const std::string& data, const TSaveOptions& options,
                    TArchiveLock& lock);

// Remembers the encryption a save at path wrote (archive/encryption_memory.h).
void RememberSaved(const TCliContext& ctx, const std::string& path, const TSaveOptions& options);

}  // namespace cli
