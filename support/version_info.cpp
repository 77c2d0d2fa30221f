#include "support/version_info.h"

#include <QStringList>

#include "support/build_config.h"

QString TqelVersionInfo::ProductName() const { return QStringLiteral(VORNIX_PRODUCT_NAME); }

QString TqelVersionInfo::LegalCopyright() const { return QStringLiteral(VORNIX_LEGAL_COPYRIGHT); }

QString TqelVersionInfo::FileVersion() const { return QStringLiteral(VORNIX_FILE_VERSION); }

QString MakerWebHost() { return QStringLiteral(VORNIX_WEB_HOST); }

QString MakerEmail() { return QStringLiteral(VORNIX_EMAIL); }

QString VersionCheckAddress(const QString& host, const QString& fileVersion) {
  // Runs of dots separate like one; missing words stay empty.
  const QStringList words = fileVersion.split(u'.', Qt::SkipEmptyParts);
  return QStringLiteral("http://%1/vnxVerChk.php?mj=%2&mn=%3&rl=%4&bd=%5")
      .arg(host, words.value(0), words.value(1), words.value(2), words.value(3));
}
