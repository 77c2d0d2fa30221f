#pragma once
// Replacing a small file that only its owner may read (the settings name
// the archives in use). The new content goes to a fresh temporary file in
// the same folder, created mode 0600 and written, synced and chmod'ed
// through the descriptor that created it, then renamed over the old file;
// a failure at any step leaves the old file as it was and no temporary
// file behind.

#include <string>
#include <string_view>

// Creates the missing folders (mode 0700) first. False on any failure,
// errno telling why.
bool ReplacePrivateFile(const std::string& path, std::string_view bytes);
