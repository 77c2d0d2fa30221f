#pragma once
// The open and save file dialogs behind TqelMsgDlg.

#include <QString>

#include "support/msg_dlg.h"

// "Description|patterns|Description|patterns" (patterns separated by ";")
// as Qt name filters: "Description (patterns)" entries joined by ";;".
QString ToQtNameFilters(const QString& filter);

// Where a file dialog starts: the folder of archivePath when it has one
// that exists, else workingDir when started from a terminal, else the home
// folder.
QString FileDialogFolder(const QString& archivePath, bool fromTerminal, const QString& workingDir);

// Each returns the chosen file's absolute path, or "" when cancelled.
QString RunOpenFileDialog(const TMsgRequest& request, bool mustExist);
QString RunSaveFileDialog(const TMsgRequest& request, bool overwritePrompt);
