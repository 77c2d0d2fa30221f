#pragma once
// Writing small files that only their owner may read: the settings (they
// name the archives in use) and exported sites (every password in clear
// text). The new content goes to a fresh temporary file in
// the same folder, created mode 0600 and written, synced and chmod'ed
// through the descriptor that created it, then renamed over the old file;
// a failure at any step leaves the old file as it was and no temporary
// file behind.

#include <string>
#include <string_view>

// Creates the missing folders (mode 0700) first. False on any failure,
// errno telling why.
bool ReplacePrivateFile(const std::string& path, std::string_view bytes);

// Creates path, mode 0600, written and synced through the descriptor that
// created it; never replaces an existing file (errno EEXIST) or follows a
// link. A failure after the creation removes the file again. False on any
// failure, errno telling why.
bool CreatePrivateFile(const std::string& path, std::string_view bytes);
