#pragma once
// The window's settings file as vornix-cli reads it.

#include "core/settings_file.h"

namespace cli {

// Options.Backups from the per-user settings file, or with useIni from
// vornix.ini beside the installed programs; the default count when it is
// missing or not a valid count.
int StoredBackupCount(bool useIni);

// The settings file itself, for values read and written straight to it.
TSettingsFile CliSettingsFile(bool useIni);

}  // namespace cli
