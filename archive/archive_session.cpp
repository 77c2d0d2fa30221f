#include "archive/archive_session.h"

#include "archive/storage/vault_save.h"
#include "archive/streams.h"
#include "archive/zip/change_records_member.h"
#include "archive/zip/zip_engine.h"

TArchiveSession::TArchiveSession(std::function<TSettingsFile()> settings)
    : settings_(std::move(settings)) {}

void TArchiveSession::SetPath(std::string path) {
  if (path != path_) diskKnown_ = false;
  path_ = std::move(path);
}

void TArchiveSession::ChangePassword(TSecretBytes password) {
  password_ = std::move(password);
  passwordChanged_ = true;
}

TEncryption TArchiveSession::WriteEncryption() const {
  return password_.empty() ? TEncryption::None : encryption_;
}

void TArchiveSession::StartNew(TEncryption encryption) {
  history_.Loaded({}, std::nullopt, 0);
  diskKnown_ = false;
  passwordChanged_ = false;
  encryption_ = encryption;
  keys_.Forget();
}

TSessionRead TArchiveSession::Open(const std::string& first, TPasswordSource& passwords,
                                   TZipReader& reader, TMemoryStream& buffer) {
  // Taken before reading: a change made while the password is asked for
  // then still counts as a change at the next save.
  const TFileSnapshot before = TakeFileSnapshot(path_);
  return Adopt(ReadSiteList(reader, buffer, path_, first, passwords, &keys_), before);
}

TSessionRead TArchiveSession::Open(const std::string& first, TPasswordSource& passwords) {
  TZipReader reader;
  TMemoryStream buffer;
  return Open(first, passwords, reader, buffer);
}

TSiteListRead TArchiveSession::ReadOther(const std::string& path, const std::string& first,
                                         TPasswordSource& passwords, TZipReader& reader,
                                         TMemoryStream& buffer) {
  THardenedKeys keys;
  return ReadSiteList(reader, buffer, path, first, passwords, &keys);
}

TSessionRead TArchiveSession::Adopt(TSiteListRead found, const TFileSnapshot& before) {
  TSessionRead read;
  if (found.failure) {
    read.found = std::move(found);
    return read;
  }
  read.check = CheckEncryption(settings_(), path_, found.encryption);
  encryption_ = read.check.write;
  if (found.encryption != TEncryption::None) password_ = found.password;
  // Without a baseline a save counts every line as read, which is what a
  // change of password alone (the only way such a session comes to write
  // records) saves.
  if (!savesOnce_ || found.records || CarriesChangeRecords(WriteEncryption(), password_.str())) {
    history_.Loaded(found.data.str(), found.records, found.dataTime);
  } else {
    history_.Forget();
  }
  TakeDiskVersion(before);
  read.found = std::move(found);
  return read;
}

bool TArchiveSession::ChangedOnDisk() const {
  if (path_.empty() || !diskKnown_) return false;
  const TFileSnapshot now = TakeFileSnapshot(path_);
  return now.exists && now != disk_;
}

void TArchiveSession::TakeDiskVersion(const TFileSnapshot& snapshot) {
  disk_ = snapshot;
  diskKnown_ = true;
}

TSaveOptions TArchiveSession::SaveOptions(int backups) {
  TSaveOptions options;
  options.encryption = encryption_;
  TZipPassword zip = ZipPasswordFor(password_, encryption_, keys_);
  options.password = std::move(zip.password);
  options.hardened = std::move(zip.hardened);
  options.backups = backups;
  options.passwordChanged = passwordChanged_;
  return options;
}

template <typename TRecords>
std::optional<TSaveWarnings> TArchiveSession::SaveKeeping(const std::string& text,
                                                          TRecords&& records,
                                                          const TSaveOptions& options,
                                                          TArchiveLock& lock,
                                                          TOutsideChange policy) {
  // An empty file the lock made for a new archive is no outside change.
  if (policy == TOutsideChange::Refuse && !lock.CreatedEmptyFile() && ChangedOnDisk()) {
    return std::nullopt;
  }
  TSaveOptions locked = options;
  locked.lock = &lock;
  TSaveWarnings warnings = SaveVault(path_, text, records, locked);
  if (savesOnce_) {
    history_.Forget();
  } else {
    history_.Adopt(text, std::forward<TRecords>(records));
  }
  passwordChanged_ = false;
  RememberEncryption(settings_(), path_,
                     options.password.empty() ? TEncryption::None : options.encryption);
  try {
    TakeDiskVersion(TakeFileSnapshot(path_));
  } catch (const EFileError&) {
    // Saved, but not readable back: nothing to compare a later save with.
    diskKnown_ = false;
  }
  return warnings;
}

std::optional<TSaveWarnings> TArchiveSession::Save(const std::string& text,
                                                   const TSaveOptions& options,
                                                   TArchiveLock& lock, TOutsideChange policy) {
  // The records made here go into the history as they are: at a million
  // sites a copy of their map is a million allocations.
  std::optional<TChangeRecords> records = history_.ForSave(text);
  return SaveKeeping(text, std::move(records), options, lock, policy);
}

std::optional<TSaveWarnings> TArchiveSession::Save(const std::string& text,
                                                   const std::optional<TChangeRecords>& records,
                                                   const TSaveOptions& options,
                                                   TArchiveLock& lock, TOutsideChange policy) {
  return SaveKeeping(text, records, options, lock, policy);
}

void TArchiveSession::Lock() {
  password_.Clear();
  history_.Forget();
}

TSessionRead TArchiveSession::Unlock(const TSecretBytes& password, TZipReader& reader,
                                     TMemoryStream& buffer) {
  std::optional<TSecretBytes> typed{password};
  TPasswordsFrom once([&typed](const TReadFailure&) { return std::exchange(typed, std::nullopt); });
  TSessionRead read = Open({}, once, reader, buffer);
  if (!read.found.failure) password_ = password;
  return read;
}
