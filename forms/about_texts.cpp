#include "forms/about_texts.h"

#include <QFileInfo>

QString AboutDateText(const QDateTime& modified) {
  QDateTime local = modified.toLocalTime();
  const QTime time = local.time();
  local.setTime(QTime(time.hour(), time.minute(), time.second() - time.second() % 2));
  return QStringLiteral("Date: %1").arg(local.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

QString AboutSizeText(qint64 bytes, const QLocale& locale) {
  return QStringLiteral("Size: ") + locale.toString(static_cast<qlonglong>(bytes));
}

std::optional<TAboutFileTexts> AboutFileTexts(const QString& path) {
  const QFileInfo file(path);
  if (path.isEmpty() || !file.exists()) return std::nullopt;
  return TAboutFileTexts{AboutDateText(file.lastModified()), AboutSizeText(file.size())};
}
