#pragma once
// The process-wide settings store: an ordered table of name=value texts,
// names compared case-insensitively, loaded once at start and saved at the
// end. The file and its format are core/settings_file.h's, shared with
// vornix-cli.

#include "core/settings_file.h"
#include "support/accessor.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QMenu;

class TqelState : private TAccessed {
 public:
  // Throws std::runtime_error("use State accessor function") unless made by State().
  TqelState();
  ~TqelState();

  QString GetValue(const QString& name) const;
  // An empty value removes the entry.
  void SetValue(const QString& name, const QString& value);
  // Entries as "name=value" lines in their order.
  QStringList Entries() const;
  void Clear();

  bool UseIni = false;
  void Load();
  void Save();
  // Writes the entries names (their current values; none removes one) to
  // the file at once, leaving the rest of the file as it is.
  void SaveValues(const QStringList& names);

  // One menu action per stored Reopen0..Reopen4 path, each triggering onClick.
  void LoadReopenMenu(QMenu* menu, const std::function<void(QAction*)>& onClick);
  // Captions of the menu's actions back into Reopen0.. in menu order.
  void StoreReopenMenu(QMenu* menu);

  // True when an argument is "-useini" or "/useini" in any letter case.
  static bool HasUseIniSwitch(const QStringList& arguments);

  // Where the two variants live; tests point them at temporary files.
  static QString IniFilePath();
  static QString UserStoreFilePath();
  static void SetStorageOverride(const QString& userStorePath, const QString& iniPath);

 private:
  struct TTable;
  std::unique_ptr<TTable> table_;
};

TqelState& State();
// The settings file the state is kept in (the per-user one, or vornix.ini
// with -useini), for values written straight to it.
TSettingsFile SettingsStorage();

// A Reopen menu action shows its path as written: "&" is not a mnemonic
// mark there. Use these to set and read the path of such an action.
void SetReopenActionPath(QAction* action, const QString& path);
QString ReopenActionPath(const QAction* action);
