#include "support/launcher_icon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "support/build_config.h"
#include "support/icons.h"

namespace {

const QString kIconFile = QLatin1String(kAppIconName) + QStringLiteral(".svg");

// The hicolor theme's place for a scalable application icon, below a data
// folder; the install rules put the program's icon there.
QString ThemeIconPath() { return QStringLiteral("icons/hicolor/scalable/apps/") + kIconFile; }

bool SameFolder(const QString& a, const QString& b) {
  const QString canonicalA = QFileInfo(a).canonicalFilePath();
  return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

// The bundled icon as a file in folder; rewritten only when it differs, so
// launchers made earlier keep a stable file.
QString WriteBundledIcon(const QString& folder) {
  const QByteArray svg = AppIconSvg();
  if (svg.isEmpty() || !QDir().mkpath(folder)) return {};
  const QString path = QDir(folder).filePath(kIconFile);
  QFile present(path);
  if (present.open(QIODevice::ReadOnly) && present.readAll() == svg) return path;
  present.close();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size() || !file.commit()) {
    return {};
  }
  return path;
}

}  // namespace

TLauncherIconPlaces DesktopIconPlaces() {
  return {QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation),
          QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
              .filePath(QLatin1String(kAppIconName))};
}

QString LauncherIcon(const QString& programPath, const TLauncherIconPlaces& places) {
  const QString installedData =
      QDir(QFileInfo(programPath).absolutePath()).filePath(QStringLiteral(VORNIX_DATA_FROM_BIN));
  const QFileInfo installedIcon(QDir(installedData).filePath(ThemeIconPath()));
  if (installedIcon.isFile()) {
    for (const QString& dataDir : places.dataDirs) {
      if (SameFolder(dataDir, installedData)) return QLatin1String(kAppIconName);
    }
    return installedIcon.canonicalFilePath();
  }
  return WriteBundledIcon(places.userDataDir);
}
