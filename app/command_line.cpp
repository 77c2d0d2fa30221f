#include "app/command_line.h"

#include <QFileInfo>

#include "support/state.h"

const char kWindowUsage[] =
    "Usage: vornix [ARCHIVE] [-useini]\n"
    "       vornix --version | --help\n"
    "\n"
    "Opens the Vornix password window.\n"
    "\n"
    "  ARCHIVE    the archive to open at start: the first argument that names\n"
    "             an existing file (others are skipped)\n"
    "  -useini    keep the settings in vornix.ini beside the program instead of\n"
    "             ~/.config/Kestrum/Vornix.conf\n"
    "  --version  print the version and exit\n"
    "  --help     print this help and exit\n"
    "\n"
    "vornix-cli reads and changes the same archives from a terminal.\n";

bool IsHelpSwitch(std::string_view argument) { return argument == "--help" || argument == "-h"; }

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
