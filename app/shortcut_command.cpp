// "Create desktop shortcut for this archive": a desktop launcher that starts
// the program with the current archive, in the same settings mode.

#include "app/shortcut_command.h"

#include <QCoreApplication>

#include "app/main_window.h"
#include "support/msg_dlg.h"
#include "support/shortcut.h"
#include "support/state.h"

QString ShortcutParameters(bool useIni, const QString& archivePath) {
  QString quoted = archivePath;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return (useIni ? QStringLiteral("-useini ") : QString()) + '"' + quoted + '"';
}

void TfrmMain::mmiShortcutClick() {
  QString name;
  if (!MsgDlg().InputQuery("Enter a name for the shortcut", "Shortcut name", name)) return;
  // The command reports nothing, whatever happens.
  try {
    TqelShortcut shortcut;
    shortcut.FileName = QCoreApplication::applicationFilePath();
    shortcut.Parameters = ShortcutParameters(State().UseIni, ArchivePath());
    shortcut.StartInDir = QCoreApplication::applicationDirPath() + '/';
    shortcut.Description = name;
    shortcut.CreateShortcutFile();
  } catch (...) {
  }
}
