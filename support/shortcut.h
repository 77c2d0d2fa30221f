#pragma once
// Writes a freedesktop desktop entry that starts the program with an archive.

#include <QString>
#include <QStringList>

#include "support/launcher_icon.h"

class TqelShortcut {
 public:
  QString FileName;          // the program's executable
  QString Parameters;        // "-useini " (optional) + the quoted archive path
  QString StartInDir;        // working directory
  QString Description;       // launcher name and comment; also its file name
  QString IconPath;          // icon name or path; empty: the program's icon
  QString DestinationDir;    // empty: the user's desktop folder
  QString ShortcutFileName;  // full path of the last file written
  // Where the program's icon is looked for, or written out to when the
  // program is not installed: the session's own folders unless set.
  TLauncherIconPlaces IconPlaces = DesktopIconPlaces();

  // Writes "<Description>.desktop" into ShortcutFolder(), replacing a file of
  // that name, and marks it executable. Throws for a missing target
  // ("Cannot create shortcut. Target file does not exist"); returns false
  // when the file cannot be written or the name cannot be a file name.
  bool CreateShortcutFile();
  // The destination folder with a trailing "/".
  QString ShortcutFolder() const;
  // The launcher's content as CreateShortcutFile writes it, naming icon.
  // Parameters are split as a command line with doubled quotes inside
  // quoted arguments and each argument is quoted again by the desktop entry
  // rules.
  QString DesktopEntryText(const QString& icon) const;

 private:
  // IconPath, or the program's own icon when it is empty.
  QString LauncherIconName() const;
};

// Splits a desktop entry Exec value into arguments by the desktop entry
// quoting rules (used to check what a launcher will start).
QStringList ParseDesktopExec(const QString& exec);
// Quotes one argument for an Exec line.
QString QuoteDesktopExecArg(const QString& arg);
