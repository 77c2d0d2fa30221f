#include "support/text_convert.h"

#include <QFile>

#include "core/text_codec.h"

QString ToQString(const std::string& bytes) {
  const std::string utf8 = DisplayUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToBytes(const QString& text) { return text.toStdString(); }

std::string ToFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }
