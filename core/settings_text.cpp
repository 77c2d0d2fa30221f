#include "core/settings_text.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/text_codec.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}


// The name a section line opens, or nullopt for any other line. A section
// line holds no "=", so no entry line is ever taken for one.
std::optional<std::string> SectionName(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']' ||
      trimmed.find('=') != std::string_view::npos) {
    return std::nullopt;
  }
  return DisplayUtf8(trimmed.substr(1, trimmed.size() - 2));
}

bool SameSection(std::string_view header, std::string_view section) {
  const std::optional<std::string> name = SectionName(header);
  return name && SameSettingsName(*name, section);
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool SameSettingsName(std::string_view a, std::string_view b) {
  return EqualsAsciiNoCase(a, b);
}

TSettingsText::TSettingsText(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  parts_.push_back(TPart{});
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (SectionName(line)) {
      parts_.push_back(TPart{std::string(line), {}});
    } else {
      parts_.back().lines.emplace_back(line);
    }
  }
}

TSettingsLines TSettingsText::SectionLines(std::string_view section) const {
  TSettingsLines lines;
  for (const TPart& part : parts_) {
    if (SameSection(part.header, section)) {
      lines.insert(lines.end(), part.lines.begin(), part.lines.end());
    }
  }
  return lines;
}

void TSettingsText::SetSectionLines(std::string_view section, const TSettingsLines& lines) {
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
  TPart& last = parts_.back();
  if (!last.lines.empty() && !last.lines.back().empty()) last.lines.emplace_back();
  parts_.push_back(TPart{'[' + std::string(section) + ']', lines});
}

std::string TSettingsText::Bytes() const {
  std::string bytes;
  for (const TPart& part : parts_) {
    if (!part.header.empty()) bytes += part.header + '\n';
    for (const std::string& line : part.lines) bytes += line + '\n';
  }
  return bytes;
}

std::optional<std::pair<std::string, std::string>> ParseSettingsEntry(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == 0 || equals == std::string_view::npos) return std::nullopt;
  return std::pair{DisplayUtf8(line.substr(0, equals)), DisplayUtf8(line.substr(equals + 1))};
}

std::optional<std::string> SettingsEntryLine(std::string_view name, std::string_view value) {
  if (name.empty() || name.find('=') != std::string_view::npos || HasLineBreak(name) ||
      HasLineBreak(value)) {
    return std::nullopt;
  }
  return std::string(name) + '=' + std::string(value);
}
