#pragma once
// The user's options, kept in the settings store under "Options.*" names.
// Each reader gives the default when the stored text is missing or is not a
// valid value, so a hand-edited settings file cannot break the program.

enum class TNewEncryption { Traditional, Aes256 };

struct TOptions {
  int clipboardSeconds = 10;  // 0: the clipboard is never cleared
  int idleLockMinutes = 5;    // 0: never locked for idleness
  bool lockWithScreenSaver = true;
  TNewEncryption encryption = TNewEncryption::Traditional;  // of new archives
  int backups = 1;  // earlier versions a save keeps beside the archive
  bool saveAfterEveryChange = false;  // each edit is saved at once
  bool saveBeforeLock = true;         // an automatic lock saves changes first
  bool hidePasswordsInEditor = false;
};

// The ranges the options dialog offers; a stored value outside is invalid.
inline constexpr int kMaxClipboardSeconds = 3600;
inline constexpr int kMaxIdleLockMinutes = 1440;
inline constexpr int kMaxBackups = 99;

int ClipboardSeconds();
int IdleLockMinutes();
bool LockWithScreenSaver();
TNewEncryption NewArchiveEncryption();
int BackupCount();
bool SaveAfterEveryChange();
bool SaveBeforeLock();
bool HidePasswordsInEditor();

TOptions ReadOptions();
void WriteOptions(const TOptions& options);
