#pragma once
// The names and ranges of the user's options in the settings file, read by
// the window (support/options.h) and by vornix-cli alike.

#include <optional>
#include <string_view>

inline constexpr char kClipboardSecondsSetting[] = "Options.ClipboardSeconds";
inline constexpr char kIdleLockMinutesSetting[] = "Options.IdleLockMinutes";
inline constexpr char kLockWithScreenSaverSetting[] = "Options.LockWithScreenSaver";
inline constexpr char kEncryptionSetting[] = "Options.Encryption";
inline constexpr char kBackupsSetting[] = "Options.Backups";

// Each archive's strongest encryption seen is kept under this prefix and the
// archive's path (archive/encryption_memory.h). These settings are written
// straight to the file by the window and vornix-cli alike, so the window's
// settings table leaves them out.
inline constexpr std::string_view kEncryptionMemoryPrefix = "Encryption:";
inline bool IsEncryptionMemoryName(std::string_view name) {
  return name.starts_with(kEncryptionMemoryPrefix);
}

// Earlier versions a save keeps beside the archive, unless told otherwise.
inline constexpr int kDefaultBackups = 1;

// The ranges the options dialog offers; a stored value outside is invalid.
inline constexpr int kMaxClipboardSeconds = 3600;
inline constexpr int kMaxIdleLockMinutes = 1440;
inline constexpr int kMaxBackups = 99;

// A stored count: a whole decimal number from 0 to max, blanks around it
// allowed; nullopt for anything else, so a hand-edited file falls back to
// the default.
std::optional<int> ParseSettingCount(std::string_view text, int max);
