#include "app/command_line.h"

#include <QFileInfo>

#include "support/state.h"

namespace {

QString StripEnclosingQuotes(const QString& argument) {
  if (argument.size() >= 2 && argument.startsWith(QLatin1Char('"')) &&
      argument.endsWith(QLatin1Char('"'))) {
    return argument.mid(1, argument.size() - 2);
  }
  return argument;
}

}  // namespace

QString CommandLineArchive(const QStringList& arguments, const QDir& currentDir) {
  for (const QString& argument : arguments) {
    if (TqelState::HasUseIniSwitch({argument})) continue;
    const QString path = StripEnclosingQuotes(argument);
    if (path.isEmpty()) continue;
    const QFileInfo info(currentDir, path);
    if (info.exists() && !info.isDir()) return QDir::cleanPath(info.absoluteFilePath());
  }
  return {};
}
