#include "support/settings_text.h"

#include "support/text_convert.h"

namespace {

QString Decode(const QByteArray& bytes) { return ToQString(bytes.toStdString()); }

// The name a section line opens, or nullopt for any other line. A section
// line holds no "=", so no entry line is ever taken for one.
std::optional<QString> SectionName(const QByteArray& line) {
  const QByteArray trimmed = line.trimmed();
  if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']') ||
      trimmed.contains('=')) {
    return std::nullopt;
  }
  return Decode(trimmed.mid(1, trimmed.size() - 2));
}

bool SameSection(const QByteArray& header, const QString& section) {
  const std::optional<QString> name = SectionName(header);
  return name && name->compare(section, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

}  // namespace

TSettingsText::TSettingsText(const QByteArray& bytes) {
  QByteArray text = bytes;
  if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
  QList<QByteArray> lines = text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();  // the final line end
  parts_.append(TPart{});
  for (QByteArray& line : lines) {
    if (line.endsWith('\r')) line.chop(1);
    if (SectionName(line)) {
      parts_.append(TPart{line, {}});
    } else {
      parts_.last().lines.append(line);
    }
  }
}

QList<QByteArray> TSettingsText::SectionLines(const QString& section) const {
  QList<QByteArray> lines;
  for (const TPart& part : parts_) {
    if (SameSection(part.header, section)) lines += part.lines;
  }
  return lines;
}

void TSettingsText::SetSectionLines(const QString& section, const QList<QByteArray>& lines) {
  bool placed = false;
  for (auto it = parts_.begin(); it != parts_.end();) {
    if (!SameSection(it->header, section)) {
      ++it;
    } else if (!placed) {
      it->lines = lines;
      placed = true;
      ++it;
    } else {
      it = parts_.erase(it);
    }
  }
  if (placed) return;
  // A blank line between sections, as such files are usually laid out.
  TPart& last = parts_.last();
  if (!last.lines.isEmpty() && !last.lines.last().isEmpty()) last.lines.append(QByteArray());
  parts_.append(TPart{'[' + section.toUtf8() + ']', lines});
}

QByteArray TSettingsText::Bytes() const {
  QByteArray bytes;
  for (const TPart& part : parts_) {
    if (!part.header.isEmpty()) bytes += part.header + '\n';
    for (const QByteArray& line : part.lines) bytes += line + '\n';
  }
  return bytes;
}

std::optional<std::pair<QString, QString>> ParseSettingsEntry(const QByteArray& line) {
  const qsizetype equals = line.indexOf('=');
  if (equals <= 0) return std::nullopt;  // section lines hold no "="
  return std::pair{Decode(line.left(equals)), Decode(line.mid(equals + 1))};
}

std::optional<QByteArray> SettingsEntryLine(const QString& name, const QString& value) {
  if (name.isEmpty() || name.contains(u'=') || HasLineBreak(name) || HasLineBreak(value)) {
    return std::nullopt;
  }
  return name.toUtf8() + '=' + value.toUtf8();
}
