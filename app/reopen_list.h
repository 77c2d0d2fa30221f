#pragma once
// The Reopen submenu: recent archive paths, newest first, at most five.

#include <QString>
#include <functional>

class QAction;
class QMenu;

inline constexpr int kMaxReopenEntries = 5;

// The archive path an entry stands for (the settings store's convention:
// the menu shows the path exactly as written).
QString ReopenPath(const QAction* entry);

// True when two paths name the same entry: letter case and every "&" are
// ignored.
bool SameReopenPath(const QString& a, const QString& b);

// Adds the Reopen item to fileMenu and returns the submenu that holds the
// entries, named name. An empty submenu would still show an arrow that opens nothing, so
// while it has no entries a plain item with the same caption stands in for
// it; the two swap whenever the first entry arrives or the last one goes.
QMenu* AddReopenMenu(QMenu* fileMenu, const QString& name, const QString& caption);

// Puts path at the top of the menu. An entry for the same path is replaced;
// otherwise the oldest entry goes when the list is full. Removed entries are
// deleted later, so the entry whose click is running stays valid.
void AddReopenEntry(QMenu* menu, const QString& path, const std::function<void(QAction*)>& onClick);
