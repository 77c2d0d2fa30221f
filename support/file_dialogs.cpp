#include "support/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {

QString NameFilter(const QString& description, const QString& patterns) {
  QString spaced = patterns;
  spaced.replace(u';', u' ');
  const QString suffix = QStringLiteral("(%1)").arg(spaced.simplified());
  if (spaced.trimmed().isEmpty()) return description;
  // Qt reads the patterns from the parentheses at the end of the entry, so
  // they go there unless the description already ends with them.
  if (description.trimmed().endsWith(suffix)) return description;
  return description + u' ' + suffix;
}

QString RunDialog(QFileDialog& dialog, const TMsgRequest& request) {
  dialog.setWindowTitle(request.text);
  dialog.setNameFilter(ToQtNameFilters(request.filter));
  dialog.setDirectory(request.initialDir);
  dialog.setDefaultSuffix(request.defaultExt);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath();
}

}  // namespace

QString FileDialogFolder(const QString& archivePath, bool fromTerminal, const QString& workingDir) {
  if (!archivePath.isEmpty()) {
    const QString folder = QFileInfo(archivePath).absolutePath();
    if (QFileInfo(folder).isDir()) return folder;
  }
  if (fromTerminal && QFileInfo(workingDir).isDir()) return workingDir;
  return QDir::homePath();
}

QString ToQtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(u'|');
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
    entries << NameFilter(parts[i], patterns);
  }
  return entries.join(QStringLiteral(";;"));
}

QString RunOpenFileDialog(const TMsgRequest& request, bool mustExist) {
  QFileDialog dialog;
  dialog.setObjectName(QStringLiteral("dlgOpen"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  return RunDialog(dialog, request);
}

QString RunSaveFileDialog(const TMsgRequest& request, bool overwritePrompt) {
  QFileDialog dialog;
  dialog.setObjectName(QStringLiteral("dlgSave"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !overwritePrompt);
  return RunDialog(dialog, request);
}
