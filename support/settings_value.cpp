#include "support/settings_value.h"

#include <optional>

namespace {

// The one-letter escapes of the old quoting, both ways.
struct TNamedEscape {
  char16_t code;
  char16_t letter;
};
constexpr TNamedEscape kNamedEscapes[] = {{u'\a', u'a'}, {u'\b', u'b'}, {u'\f', u'f'},
                                          {u'\n', u'n'}, {u'\r', u'r'}, {u'\t', u't'},
                                          {u'\v', u'v'}, {u'"', u'"'},  {u'\\', u'\\'}};

constexpr char16_t kLastControl = 0x1f;
constexpr int kMaxHexDigits = 4;

bool IsHexDigit(char16_t ch) {
  return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f') || (ch >= u'A' && ch <= u'F');
}

QString HexEscape(char16_t ch) { return QStringLiteral("\\x") + QString::number(ch, 16); }

// The old writer's escaping of the text between the quotes. After a numeric
// escape a following hex digit is escaped too, or it would extend the number.
QString Escape(const QString& text) {
  QString out;
  bool escapeHexDigit = false;
  for (const QChar qch : text) {
    const char16_t ch = qch.unicode();
    if (escapeHexDigit && IsHexDigit(ch)) {
      out += HexEscape(ch);
      continue;
    }
    escapeHexDigit = false;
    if (ch == 0) {
      out += QStringLiteral("\\0");
      escapeHexDigit = true;
      continue;
    }
    bool named = false;
    for (const TNamedEscape& escape : kNamedEscapes) {
      if (escape.code != ch) continue;
      out += u'\\';
      out += QChar(escape.letter);
      named = true;
    }
    if (named) continue;
    if (ch <= kLastControl) {
      out += HexEscape(ch);
      escapeHexDigit = true;
    } else {
      out += qch;
    }
  }
  return out;
}

// Reverses Escape; nullopt at a backslash Escape would not have written.
std::optional<QString> Unescape(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size();) {
    const QChar qch = text[i++];
    if (qch != u'\\') {
      out += qch;
      continue;
    }
    if (i == text.size()) return std::nullopt;
    const char16_t letter = text[i++].unicode();
    if (letter == u'0') {
      out += QChar(u'\0');
      continue;
    }
    if (letter == u'x') {
      const qsizetype start = i;
      while (i < text.size() && i - start < kMaxHexDigits && IsHexDigit(text[i].unicode())) ++i;
      bool ok = false;
      const uint code = text.mid(start, i - start).toUInt(&ok, 16);
      if (!ok) return std::nullopt;
      out += QChar(char16_t(code));
      continue;
    }
    bool named = false;
    for (const TNamedEscape& escape : kNamedEscapes) {
      if (escape.letter != letter) continue;
      out += QChar(escape.code);
      named = true;
    }
    if (!named) return std::nullopt;
  }
  return out;
}

bool LooksQuoted(const QString& text) {
  return text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"');
}

// The old writer quoted exactly these (the text after "@" doubling).
bool OldWriterQuoted(const QString& text) {
  return text.contains(u';') || text.contains(u',') || text.contains(u'=') ||
         text.startsWith(u' ') || text.endsWith(u' ');
}

}  // namespace

QString SettingsValueFromText(const QString& text) {
  if (!LooksQuoted(text)) return text;
  const QString inner = text.mid(1, text.size() - 2);
  const std::optional<QString> unescaped = Unescape(inner);
  if (!unescaped || Escape(*unescaped) != inner) return text;
  QString value = *unescaped;
  if (value.startsWith(u'@')) {
    // A single "@" marked a stored type other than text: not a value of ours.
    if (!value.startsWith(QStringLiteral("@@"))) return text;
    value.remove(0, 1);
  }
  if (!OldWriterQuoted(*unescaped) && !LooksQuoted(value)) return text;
  return value;
}

QString SettingsValueToText(const QString& value) {
  if (SettingsValueFromText(value) == value) return value;
  // Only a value in quotes is read as something else; quoted and escaped in
  // turn it is read back as itself.
  return u'"' + Escape(value) + u'"';
}
