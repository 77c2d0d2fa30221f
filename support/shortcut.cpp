#include "support/shortcut.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <stdexcept>

#include "support/desktop_exec.h"
#include "support/icons.h"

namespace {

constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// The launcher's file name is the user's text: it must stay one name in the
// destination folder.
bool CanBeFileName(const QString& name) {
  return !name.contains(u'/') && !name.contains(QChar(u'\0')) && name != QStringLiteral(".") &&
         name != QStringLiteral("..");
}

QString ExecLine(const QString& program, const QString& parameters) {
  QStringList quoted{QuoteDesktopExecArg(program)};
  for (const QString& arg : SplitQuotedParameters(parameters)) quoted << QuoteDesktopExecArg(arg);
  return quoted.join(u' ');
}

QString WithTrailingSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

}  // namespace

QString TqelShortcut::DesktopEntryText(const QString& icon) const {
  QStringList lines{QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                    QStringLiteral("Name=") + EscapeDesktopString(Description),
                    QStringLiteral("Comment=") + EscapeDesktopString(Description),
                    QStringLiteral("Exec=") + ExecLine(FileName, Parameters)};
  if (!StartInDir.isEmpty()) lines << QStringLiteral("Path=") + EscapeDesktopString(StartInDir);
  lines << QStringLiteral("Icon=") + EscapeDesktopString(icon) << QStringLiteral("Terminal=false");
  return lines.join(u'\n') + u'\n';
}

bool TqelShortcut::CreateShortcutFile() {
  if (!QFileInfo::exists(FileName)) {
    throw std::runtime_error("Cannot create shortcut. Target file does not exist");
  }
  if (!CanBeFileName(Description)) return false;
  const QString path = ShortcutFolder() + Description + QStringLiteral(".desktop");
  // QSaveFile replaces an existing launcher only once the new one is
  // complete.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(DesktopEntryText(LauncherIconName()).toUtf8());
  if (!file.commit()) return false;
  // Desktops start only launchers marked executable.
  QFile::setPermissions(path, kExecutable);
  ShortcutFileName = path;
  return true;
}

QString TqelShortcut::LauncherIconName() const {
  if (!IconPath.isEmpty()) return IconPath;
  // The target's own icon. Should it be impossible to write out, the theme
  // name is still the best guess: an installed copy may provide it.
  const QString icon = LauncherIcon(FileName, IconPlaces);
  return icon.isEmpty() ? QLatin1String(kAppIconName) : icon;
}

QString TqelShortcut::ShortcutFolder() const {
  if (!DestinationDir.isEmpty()) return WithTrailingSlash(DestinationDir);
  return WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}
