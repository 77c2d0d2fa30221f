#include "support/options.h"

#include <QString>

#include "support/state.h"

namespace {

const char* const kClipboardSeconds = kClipboardSecondsSetting;
const char* const kIdleLockMinutes = kIdleLockMinutesSetting;
const char* const kLockWithScreenSaver = kLockWithScreenSaverSetting;
const char* const kEncryption = kEncryptionSetting;
const char* const kBackups = kBackupsSetting;

const char kTraditional[] = "traditional";
const char kAes256[] = "aes256";

int ReadCount(const char* name, int max, int fallback) {
  return ParseSettingCount(State().GetValue(name).toStdString(), max).value_or(fallback);
}

}  // namespace

int ClipboardSeconds() {
  return ReadCount(kClipboardSeconds, kMaxClipboardSeconds, TOptions().clipboardSeconds);
}

int IdleLockMinutes() {
  return ReadCount(kIdleLockMinutes, kMaxIdleLockMinutes, TOptions().idleLockMinutes);
}

bool LockWithScreenSaver() {
  const QString text = State().GetValue(kLockWithScreenSaver).trimmed();
  if (text == "0") return false;
  if (text == "1") return true;
  return TOptions().lockWithScreenSaver;
}

TNewEncryption NewArchiveEncryption() {
  const QString text = State().GetValue(kEncryption).trimmed();
  if (text.compare(kAes256, Qt::CaseInsensitive) == 0) return TNewEncryption::Aes256;
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
  return options;
}

void WriteOptions(const TOptions& options) {
  State().SetValue(kClipboardSeconds, QString::number(options.clipboardSeconds));
  State().SetValue(kIdleLockMinutes, QString::number(options.idleLockMinutes));
  State().SetValue(kLockWithScreenSaver, options.lockWithScreenSaver ? "1" : "0");
  State().SetValue(kEncryption,
                   options.encryption == TNewEncryption::Aes256 ? kAes256 : kTraditional);
  State().SetValue(kBackups, QString::number(options.backups));
  State().SaveValues(
      {kClipboardSeconds, kIdleLockMinutes, kLockWithScreenSaver, kEncryption, kBackups});
}
