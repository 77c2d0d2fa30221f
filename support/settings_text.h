#pragma once
// The lines of a plain settings file: a section line "[Name]", then lines
// "name=value", the name being the text before the first "=" and the value
// everything after it up to the line end. Nothing is quoted, escaped or
// split: a hand-edited line means what it says.
//
// Lines before the first section line and the lines of other sections are
// kept as they were; only the section a caller asks for is rewritten.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
#include <utility>

class TSettingsText {
 public:
  // Line ends may be LF or CR LF; a leading UTF-8 byte order mark is dropped.
  explicit TSettingsText(const QByteArray& bytes);

  // The lines of section (its name compared without regard to letter case),
  // without the section line; a section found more than once gives the lines
  // of every part in file order.
  QList<QByteArray> SectionLines(const QString& section) const;
  // Makes lines the whole of section, at the place of its first part (a new
  // section goes at the end of the file). Later parts are merged into it.
  void SetSectionLines(const QString& section, const QList<QByteArray>& lines);

  // The file, each line ended by LF.
  QByteArray Bytes() const;

 private:
  struct TPart {
    QByteArray header;  // empty for the lines before the first section line
    QList<QByteArray> lines;
  };
  QList<TPart> parts_;
};

// name and value of an entry line; nullopt for any other line (a section
// line, a line without "=" or with nothing before it). A line that is not
// valid UTF-8 is read as Windows-1252.
std::optional<std::pair<QString, QString>> ParseSettingsEntry(const QByteArray& line);

// The entry line for name and value, or nullopt where a line cannot hold
// them: an empty name, a name with "=", or a line break in either.
std::optional<QByteArray> SettingsEntryLine(const QString& name, const QString& value);
