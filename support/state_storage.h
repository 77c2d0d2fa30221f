#pragma once
// Reading and writing the settings table in its file (see settings_text.h
// for the lines, settings_value.h for the value texts). The per-user store
// keeps its entries in the section "General", the INI variant in "Vornix".
//
// The file is replaced as a whole, like an archive: written to a temporary
// file in the same folder, flushed, given mode 0600 and renamed over the old
// one, so a failed save leaves the previous file as it was.

#include <QString>
#include <functional>
#include <utility>
#include <vector>

using TStateEntries = std::vector<std::pair<QString, QString>>;

struct TStateStorage {
  QString path;
  QString section;
  QString writeErrorText;  // empty: a failed file write is silently skipped
};

// Calls add(name, value) for each entry of the section in file order. A
// missing or unreadable file adds nothing.
void ReadStateStorage(const TStateStorage& storage,
                      const std::function<void(const QString&, const QString&)>& add);

// Writes the entries as the section, in their order. Names are matched
// without regard to letter case: an entry replaces a stored line that
// differs from it only in case. Stored lines of Reopen0..Reopen4 are
// dropped; other stored lines the entries do not name are kept after them.
// A file that exists but cannot be read is not replaced. An entry no line
// can hold (an empty name, "=" in the name, a line break) is reported as
// "Failed to set data for '<name>'" after the others are written.
void WriteStateStorage(const TStateStorage& storage, const TStateEntries& entries);
