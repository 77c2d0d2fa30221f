#pragma once
// One open archive as the window and vornix-cli hold it: where it is, the
// password and encryption its saves write, the change records of the site
// list as last read or saved, and what the file looked like then, so that a
// save can tell when another program has changed it since. Reading goes
// through the one site-list rule (site_list_reader.h), saving through the
// safe save under the archive's lock.

#include <functional>
#include <optional>
#include <string>

#include "archive/crypto/hardened_key.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/encryption_memory.h"
#include "archive/site_list_reader.h"
#include "archive/storage/archive_lock.h"
#include "archive/storage/file_snapshot.h"
#include "archive/storage/safe_save.h"
#include "archive/storage/vault_history.h"
#include "core/secret_bytes.h"
#include "core/settings_file.h"

class TMemoryStream;
class TZipReader;

// What a read of the session's own archive found.
struct TSessionRead {
  TSiteListRead found;
  // The encryption the next save writes against the strongest the archive
  // was seen with; `weakerThan` is set when the file came back weaker.
  TEncryptionCheck check;
};

// What a save does when the file changed since the session last read or
// saved it.
enum class TOutsideChange {
  Refuse,     // nothing is written: the caller asks, merges or gives up
  Overwrite,  // the session's version replaces the other one
};

class TArchiveSession {
 public:
  // `settings` gives the file that keeps the encryption each archive was
  // seen with, at the moment it is needed.
  explicit TArchiveSession(std::function<TSettingsFile()> settings);

  // The archive's file name; empty for an archive not yet named.
  const std::string& Path() const { return path_; }
  // A new name (open, save as, close): nothing is known of its file yet.
  void SetPath(std::string path);

  // The password saves write with, as typed.
  const TSecretBytes& Password() const { return password_; }
  void SetPassword(TSecretBytes password) { password_ = std::move(password); }
  // A new password chosen: the save that writes it removes the backups that
  // keep the old one.
  void ChangePassword(TSecretBytes password);

  // What the next save writes when there is a password.
  TEncryption Encryption() const { return encryption_; }
  void SetEncryption(TEncryption encryption) { encryption_ = encryption; }
  // What the next save writes: None without a password.
  TEncryption WriteEncryption() const;
  THardenedKeys& Keys() { return keys_; }

  // A session that saves at most once and then ends (a vornix-cli command)
  // keeps no copy of the site list that change records will not need: at a
  // million sites each copy costs a quarter of a second. Its history holds
  // nothing after the save.
  void SetSavesOnce() { savesOnce_ = true; }

  const TVaultHistory& History() const { return history_; }
  TVaultHistory& History() { return history_; }

  // A new archive: nothing read, no records, no file, the given encryption.
  void StartNew(TEncryption encryption);

  // Reads the site list of Path() with `first`, then what `passwords`
  // offer. When it opens, the session takes what it found: the file as it
  // was before the read (a change made while a person types a password
  // still counts), the records, the encryption to write and, for an
  // encrypted member, the password that opened it (an unencrypted one
  // leaves the password as it was). A failure changes nothing. Throws as
  // ReadSiteList.
  TSessionRead Open(const std::string& first, TPasswordSource& passwords, TZipReader& reader,
                    TMemoryStream& buffer);
  TSessionRead Open(const std::string& first, TPasswordSource& passwords);
  // Takes what a read of Path() found while the file was as `before` shows,
  // as Open does with its own read: a caller that read the file before
  // taking the lock need not read it again when it is unchanged.
  TSessionRead Adopt(TSiteListRead found, const TFileSnapshot& before);
  // Reads the archive at path without taking anything from it (an import,
  // a merge); its hardened keys are its own.
  TSiteListRead ReadOther(const std::string& path, const std::string& first,
                          TPasswordSource& passwords, TZipReader& reader, TMemoryStream& buffer);

  // Whether the file differs from what the session last read or saved. A
  // file never read or saved under this name, or one that has gone, holds
  // nothing that could be lost: both count as unchanged.
  bool ChangedOnDisk() const;
  // The file as it is now is part of what the session holds (merged in).
  void TakeDiskVersion(const TFileSnapshot& snapshot);

  // The options a save of this archive takes: its password (for a hardened
  // archive the key and its record), encryption and backups.
  TSaveOptions SaveOptions(int backups);
  // Saves text as the site list with records that stamp what changed since
  // the last read or save (or the given records, from a merge), under the
  // lock the caller holds. With Refuse a file changed meanwhile is left
  // alone and nothing is returned. Throws as SaveVault; the session is then
  // unchanged.
  std::optional<TSaveWarnings> Save(const std::string& text, const TSaveOptions& options,
                                    TArchiveLock& lock, TOutsideChange policy);
  std::optional<TSaveWarnings> Save(const std::string& text,
                                    const std::optional<TChangeRecords>& records,
                                    const TSaveOptions& options, TArchiveLock& lock,
                                    TOutsideChange policy);

  // Locked, the session keeps only where the archive is: no password, no
  // site list, no records.
  void Lock();
  // Reads the archive with the password typed at the lock, once, without
  // asking again; on success as Open, and the password is the archive's.
  TSessionRead Unlock(const TSecretBytes& password, TZipReader& reader, TMemoryStream& buffer);

 private:
  // Save with the records the history takes (moved when given as a temporary).
  template <typename TRecords>
  std::optional<TSaveWarnings> SaveKeeping(const std::string& text, TRecords&& records,
                                           const TSaveOptions& options, TArchiveLock& lock,
                                           TOutsideChange policy);
  std::function<TSettingsFile()> settings_;
  std::string path_;
  TSecretBytes password_;
  TEncryption encryption_ = TEncryption::Traditional;
  THardenedKeys keys_;
  bool passwordChanged_ = false;
  bool savesOnce_ = false;
  TVaultHistory history_;
  bool diskKnown_ = false;
  TFileSnapshot disk_;
};
