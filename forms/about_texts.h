#pragma once
// The About box's file facts: the program file's date and size as the box
// shows them.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// "Date: yyyy-MM-dd hh:mm:ss" in local time, the seconds rounded down to an
// even number as in the classic two-second file-date format.
QString AboutDateText(const QDateTime& modified);
// "Size: " and the byte count grouped in thousands for the locale.
QString AboutSizeText(qint64 bytes, const QLocale& locale = QLocale());

struct TAboutFileTexts {
  QString date;
  QString size;
};
// Both texts for the file at path; nothing when it cannot be found.
std::optional<TAboutFileTexts> AboutFileTexts(const QString& path);
