#include "app/window_title.h"

#include <QFileInfo>

#include "support/build_config.h"

QString MainWindowTitle(const QString& archivePath, bool locked) {
  const QString product = QStringLiteral(VORNIX_PRODUCT_NAME);
  if (archivePath.isEmpty()) return product;
  // A "[*]" in the name itself would be taken for the mark.
  QString name = QFileInfo(archivePath).fileName();
  name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  return name + (locked ? QStringLiteral(" [Locked]") : QStringLiteral("[*]")) +
         QStringLiteral(" - ") + product;
}
