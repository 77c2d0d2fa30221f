#pragma once
// The user's options, kept in the settings store under "Options.*" names.
// Each reader gives the default when the stored text is missing or is not a
// valid value, so a hand-edited settings file cannot break the program.

#include "core/option_settings.h"

enum class TNewEncryption { Traditional, Aes256, Aes256Hardened };

struct TOptions {
  int clipboardSeconds = 10;  // 0: the clipboard is never cleared
  int idleLockMinutes = 5;    // 0: never locked for idleness
  bool lockWithScreenSaver = true;
  TNewEncryption encryption = TNewEncryption::Traditional;  // of new archives
  int backups = kDefaultBackups;  // earlier versions a save keeps beside the archive
  bool saveAfterEveryChange = false;  // each edit is saved at once
  bool saveBeforeLock = true;         // an automatic lock saves changes first
  bool hidePasswordsInEditor = false;
};

int ClipboardSeconds();
int IdleLockMinutes();
bool LockWithScreenSaver();
TNewEncryption NewArchiveEncryption();
int BackupCount();
bool SaveAfterEveryChange();
bool SaveBeforeLock();
bool HidePasswordsInEditor();

TOptions ReadOptions();
// Sets the options in the store and writes them to the settings file at
// once, so that a crash later in the run does not lose them.
void WriteOptions(const TOptions& options);
