#pragma once
// The window's settings file as vornix-cli reads it.

namespace cli {

// Options.Backups from the per-user settings file, or with useIni from
// vornix.ini beside the installed programs; the default count when it is
// missing or not a valid count.
int StoredBackupCount(bool useIni);

}  // namespace cli
