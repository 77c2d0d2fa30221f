#include "support/options.h"

#include <QString>

#include "support/state.h"

namespace {

const char* const kClipboardSeconds = kClipboardSecondsSetting;
const char* const kIdleLockMinutes = kIdleLockMinutesSetting;
const char* const kLockWithScreenSaver = kLockWithScreenSaverSetting;
const char* const kEncryption = kEncryptionSetting;
const char* const kBackups = kBackupsSetting;
const char kSaveAfterEveryChange[] = "Options.SaveAfterEveryChange";
const char kSaveBeforeLock[] = "Options.SaveBeforeLock";
const char kHidePasswordsInEditor[] = "Options.HidePasswordsInEditor";

const char kTraditional[] = "traditional";
const char kAes256[] = "aes256";
const char kHardened[] = "hardened";

const char* EncryptionValue(TNewEncryption encryption) {
  switch (encryption) {
    case TNewEncryption::Aes256:
      return kAes256;
    case TNewEncryption::Aes256Hardened:
      return kHardened;
    case TNewEncryption::Traditional:
      break;
  }
  return kTraditional;
}

int ReadCount(const char* name, int max, int fallback) {
  return ParseSettingCount(State().GetValue(name).toStdString(), max).value_or(fallback);
}

// "1" and "0"; anything else gives the default.
bool ReadFlag(const char* name, bool fallback) {
  const QString text = State().GetValue(name).trimmed();
  if (text == "0") return false;
  if (text == "1") return true;
  return fallback;
}

void WriteFlag(const char* name, bool value) { State().SetValue(name, value ? "1" : "0"); }

}  // namespace

int ClipboardSeconds() {
  return ReadCount(kClipboardSeconds, kMaxClipboardSeconds, TOptions().clipboardSeconds);
}

int IdleLockMinutes() {
  return ReadCount(kIdleLockMinutes, kMaxIdleLockMinutes, TOptions().idleLockMinutes);
}

bool LockWithScreenSaver() {
  return ReadFlag(kLockWithScreenSaver, TOptions().lockWithScreenSaver);
}

bool SaveAfterEveryChange() {
  return ReadFlag(kSaveAfterEveryChange, TOptions().saveAfterEveryChange);
}

bool SaveBeforeLock() { return ReadFlag(kSaveBeforeLock, TOptions().saveBeforeLock); }

bool HidePasswordsInEditor() {
  return ReadFlag(kHidePasswordsInEditor, TOptions().hidePasswordsInEditor);
}

TNewEncryption NewArchiveEncryption() {
  const QString text = State().GetValue(kEncryption).trimmed();
  if (text.compare(kAes256, Qt::CaseInsensitive) == 0) return TNewEncryption::Aes256;
  if (text.compare(kHardened, Qt::CaseInsensitive) == 0) return TNewEncryption::Aes256Hardened;
  if (text.compare(kTraditional, Qt::CaseInsensitive) == 0) return TNewEncryption::Traditional;
  return TOptions().encryption;
}

int BackupCount() { return ReadCount(kBackups, kMaxBackups, TOptions().backups); }

TOptions ReadOptions() {
  TOptions options;
  options.clipboardSeconds = ClipboardSeconds();
  options.idleLockMinutes = IdleLockMinutes();
  options.lockWithScreenSaver = LockWithScreenSaver();
  options.encryption = NewArchiveEncryption();
  options.backups = BackupCount();
  options.saveAfterEveryChange = SaveAfterEveryChange();
  options.saveBeforeLock = SaveBeforeLock();
  options.hidePasswordsInEditor = HidePasswordsInEditor();
  return options;
}

void WriteOptions(const TOptions& options) {
  State().SetValue(kClipboardSeconds, QString::number(options.clipboardSeconds));
  State().SetValue(kIdleLockMinutes, QString::number(options.idleLockMinutes));
  WriteFlag(kLockWithScreenSaver, options.lockWithScreenSaver);
  State().SetValue(kEncryption, EncryptionValue(options.encryption));
  State().SetValue(kBackups, QString::number(options.backups));
  WriteFlag(kSaveAfterEveryChange, options.saveAfterEveryChange);
  WriteFlag(kSaveBeforeLock, options.saveBeforeLock);
  WriteFlag(kHidePasswordsInEditor, options.hidePasswordsInEditor);
  State().SaveValues({kClipboardSeconds, kIdleLockMinutes, kLockWithScreenSaver, kEncryption,
                      kBackups, kSaveAfterEveryChange, kSaveBeforeLock, kHidePasswordsInEditor});
}
