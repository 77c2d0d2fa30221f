#pragma once
// Reading and writing the settings table in one QSettings file. The per-user
// store keeps the names at the top level of its file; the INI variant in the
// section "Vornix".
//
// QSettings treats "/" and "\" in a key as group separators, so a name that
// holds either cannot be stored as one plain key; such a name is reported as
// a failed write. The program's own names never contain them.
//
// QSettings lists a file's keys in sorted order, not in file order, so a
// load appends the entries in that order.

#include <QString>
#include <functional>
#include <utility>
#include <vector>

using TStateEntries = std::vector<std::pair<QString, QString>>;

struct TStateStorage {
  QString path;
  QString group;           // empty: top level
  QString writeErrorText;  // empty: a failed file write is silently skipped
};

// Calls add(name, value) for each stored value in turn; throws
// "Invalid data type for '<name>'" at a value that is not a plain string,
// after the values before it have been added. A missing file adds nothing.
void ReadStateStorage(const TStateStorage& storage,
                      const std::function<void(const QString&, const QString&)>& add);

// Deletes Reopen0..Reopen4, then writes every entry. Names are matched
// without regard to letter case, as in the original store: an entry replaces
// a stored key that differs from it only in case.
void WriteStateStorage(const TStateStorage& storage, const TStateEntries& entries);
