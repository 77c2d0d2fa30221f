#include "core/settings_value.h"

#include <optional>

namespace {

// The one-letter escapes of the old quoting, both ways.
struct TNamedEscape {
  char code;
  char letter;
};
constexpr TNamedEscape kNamedEscapes[] = {{'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'},
                                          {'\n', 'n'}, {'\r', 'r'}, {'\t', 't'},
                                          {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};

constexpr unsigned char kLastControl = 0x1f;
constexpr std::size_t kMaxHexDigits = 4;
// The old writer escaped by number only control characters and the hex
// digits after such an escape, all ASCII: a larger number never came from it.
constexpr unsigned long kLastAscii = 0x7f;

bool IsHexDigit(char ch) {
  return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

std::string HexEscape(unsigned char ch) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "\\x";
  if (ch >= 0x10) out += kDigits[ch >> 4];
  out += kDigits[ch & 0xf];
  return out;
}

const TNamedEscape* NamedByCode(char ch) {
  for (const TNamedEscape& escape : kNamedEscapes) {
    if (escape.code == ch) return &escape;
  }
  return nullptr;
}

const TNamedEscape* NamedByLetter(char letter) {
  for (const TNamedEscape& escape : kNamedEscapes) {
    if (escape.letter == letter) return &escape;
  }
  return nullptr;
}

// The old writer's escaping of the text between the quotes. After a numeric
// escape a following hex digit is escaped too, or it would extend the number.
std::string Escape(std::string_view text) {
  std::string out;
  bool escapeHexDigit = false;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (escapeHexDigit && IsHexDigit(ch)) {
      out += HexEscape(byte);
      continue;
    }
    escapeHexDigit = false;
    if (ch == '\0') {
      out += "\\0";
      escapeHexDigit = true;
    } else if (const TNamedEscape* named = NamedByCode(ch)) {
      out += '\\';
      out += named->letter;
    } else if (byte <= kLastControl) {
      out += HexEscape(byte);
      escapeHexDigit = true;
    } else {
      out += ch;
    }
  }
  return out;
}

// Reverses Escape; nullopt at a backslash Escape would not have written.
std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const char ch = text[i++];
    if (ch != '\\') {
      out += ch;
      continue;
    }
    if (i == text.size()) return std::nullopt;
    const char letter = text[i++];
    if (letter == '0') {
      out += '\0';
    } else if (letter == 'x') {
      const std::size_t start = i;
      while (i < text.size() && i - start < kMaxHexDigits && IsHexDigit(text[i])) ++i;
      if (i == start) return std::nullopt;
      const unsigned long code =
          std::stoul(std::string(text.substr(start, i - start)), nullptr, 16);
      if (code > kLastAscii) return std::nullopt;
      out += static_cast<char>(code);
    } else if (const TNamedEscape* named = NamedByLetter(letter)) {
      out += named->code;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

bool LooksQuoted(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// The old writer quoted exactly these (the text after "@" doubling).
bool OldWriterQuoted(std::string_view text) {
  return text.find_first_of(";,=") != std::string_view::npos ||
         (!text.empty() && (text.front() == ' ' || text.back() == ' '));
}

}  // namespace

std::string SettingsValueFromText(std::string_view text) {
  if (!LooksQuoted(text)) return std::string(text);
  const std::string_view inner = text.substr(1, text.size() - 2);
  const std::optional<std::string> unescaped = Unescape(inner);
  if (!unescaped || Escape(*unescaped) != inner) return std::string(text);
  std::string_view value = *unescaped;
  if (!value.empty() && value.front() == '@') {
    // A single "@" marked a stored type other than text: not a value of ours.
    if (value.substr(0, 2) != "@@") return std::string(text);
    value.remove_prefix(1);
  }
  if (!OldWriterQuoted(*unescaped) && !LooksQuoted(value)) return std::string(text);
  return std::string(value);
}

std::string SettingsValueToText(std::string_view value) {
  if (SettingsValueFromText(value) == value) return std::string(value);
  // Only a value in quotes is read as something else; quoted and escaped in
  // turn it is read back as itself.
  return '"' + Escape(value) + '"';
}
