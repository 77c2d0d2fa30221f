#include "interchange/note_lines.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace interchange {

namespace {

constexpr std::string_view kTotpLabel = "TOTP";  // the line reads "TOTP: value"
constexpr std::string_view kUriScheme = "otpauth://";

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

// The TOTP value a notes line holds, or empty.
std::string_view TotpOfLine(std::string_view line) {
  line = TrimBlanks(line);
  if (line.substr(0, kTotpLabel.size()) == kTotpLabel && line.substr(kTotpLabel.size(), 1) == ":") {
    return TrimBlanks(line.substr(kTotpLabel.size() + 1));
  }
  if (line.substr(0, kUriScheme.size()) == kUriScheme) return line;
  return {};
}

// RFC 3986 unreserved characters stay, every other byte is %XX.
std::string PercentEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

}  // namespace

void AppendNoteLine(std::string& notes, std::string_view label, std::string_view value) {
  if (value.empty()) return;
  if (!notes.empty() && notes.back() != '\n') notes += '\n';
  if (!label.empty()) {
    notes += label;
    notes += ": ";
  }
  notes += value;
}

std::string NotesWithTotp(std::string notes, std::string_view totp) {
  AppendNoteLine(notes, kTotpLabel, TrimBlanks(totp));
  return notes;
}

TNotesTotp SplitTotp(std::string_view notes) {
  TNotesTotp result;
  std::size_t start = 0;
  while (start <= notes.size()) {
    const std::size_t end = std::min(notes.find('\n', start), notes.size());
    const std::string_view totp = TotpOfLine(notes.substr(start, end - start));
    if (!totp.empty()) {
      result.totp = std::string(totp);
      // The line goes with the line break that joined it to the notes.
      if (end < notes.size()) {
        result.notes = std::string(notes.substr(0, start)) + std::string(notes.substr(end + 1));
      } else {
        result.notes = std::string(notes.substr(0, start > 0 ? start - 1 : 0));
      }
      return result;
    }
    start = end + 1;
  }
  result.notes = std::string(notes);
  return result;
}

std::string TotpUri(std::string_view totp, std::string_view label) {
  if (totp.empty() || totp.substr(0, kUriScheme.size()) == kUriScheme) return std::string(totp);
  return std::string(kUriScheme) + "totp/" + PercentEncoded(label) +
         "?secret=" + PercentEncoded(totp);
}

}  // namespace interchange
