#include "core/settings_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "core/descriptor_io.h"
#include "core/private_file.h"
#include "core/settings_text.h"
#include "core/settings_value.h"

namespace {

std::string gUserOverride;
std::string gIniOverride;

constexpr int kReopenCount = 5;

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

// The XDG base directory rule: a relative XDG_CONFIG_HOME is ignored.
std::string ConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return config;
  }
  return HomeFolder() + "/.config";
}

bool IsReopenName(std::string_view name) {
  for (int i = 0; i < kReopenCount; ++i) {
    if (SameSettingsName(name, "Reopen" + std::to_string(i))) return true;
  }
  return false;
}

// The file's bytes, empty when there is no file, nullopt when it exists but
// cannot be read.
std::optional<std::string> ReadExisting(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? std::optional(std::string()) : std::nullopt;
  std::string bytes;
  const int error = ReadToEnd(fd, bytes);
  ::close(fd);
  return error == 0 ? std::optional(std::move(bytes)) : std::nullopt;
}

[[noreturn]] void Fail(const std::string& message) { throw std::runtime_error(message); }

// A failed write of the per-user file goes unreported: the program works on
// with the values it holds. The ini file's failure is reported.
void FailWrite(const TSettingsFile& file) {
  if (!file.writeErrorText.empty()) Fail(file.writeErrorText);
}

struct TSection {
  TSettingsLines lines;
  std::vector<std::string> written;  // names of the lines
  std::string refused;               // the first name no line can hold
};

TSection EntryLines(const TSettingsEntries& entries) {
  TSection section;
  for (const auto& [name, value] : entries) {
    if (const auto line = SettingsEntryLine(name, SettingsValueToText(value))) {
      section.lines.push_back(*line);
      section.written.push_back(name);
    } else if (section.refused.empty()) {
      section.refused = name;
    }
  }
  return section;
}

bool Names(const std::vector<std::string>& names, std::string_view name) {
  return std::any_of(names.begin(), names.end(),
                     [name](const std::string& other) { return SameSettingsName(other, name); });
}

// Whether a stored line stays beside the store's entries. A name emptied
// during the run keeps its stored value and comes back at the next start, as
// it always has; lines that are no entries stay too. The Reopen entries are
// the store's alone.
bool IsKept(std::string_view line, const std::vector<std::string>& written) {
  const auto entry = ParseSettingsEntry(line);
  return !entry || (!IsReopenName(entry->first) && !Names(written, entry->first));
}

bool IsLineOf(std::string_view line, std::string_view name) {
  const auto entry = ParseSettingsEntry(line);
  return entry && SameSettingsName(entry->first, name);
}

void Replace(const TSettingsFile& file, const TSettingsText& text) {
  if (!ReplacePrivateFile(file.path, text.Bytes())) FailWrite(file);
}

}  // namespace

TSettingsFile UserSettingsFile() {
  std::string path =
      gUserOverride.empty() ? ConfigFolder() + "/Kestrum/Vornix.conf" : gUserOverride;
  return {std::move(path), "General", ""};
}

TSettingsFile IniSettingsFile(const std::string& programPath) {
  std::string path = gIniOverride;
  if (path.empty()) {
    const std::size_t slash = programPath.rfind('/');
    const std::size_t dot = programPath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    path = (hasExtension ? programPath.substr(0, dot) : programPath) + ".ini";
  }
  std::string error = "Unable to write to " + path;
  return {std::move(path), "Vornix", std::move(error)};
}

void SetSettingsPathOverride(std::string userPath, std::string iniPath) {
  gUserOverride = std::move(userPath);
  gIniOverride = std::move(iniPath);
}

TSettingsFile SettingsFileFor(bool useIni, const std::string& programPath) {
  return useIni ? IniSettingsFile(programPath) : UserSettingsFile();
}

TSettingsEntries ReadSettings(const TSettingsFile& file) {
  TSettingsEntries entries;
  const std::optional<std::string> bytes = ReadExisting(file.path);
  if (!bytes) return entries;
  for (const std::string& line : TSettingsText(*bytes).SectionLines(file.section)) {
    if (auto entry = ParseSettingsEntry(line)) {
      entries.emplace_back(std::move(entry->first), SettingsValueFromText(entry->second));
    }
  }
  return entries;
}

void WriteSettings(const TSettingsFile& file, const TSettingsEntries& entries) {
  const std::optional<std::string> old = ReadExisting(file.path);
  if (!old) return FailWrite(file);  // replacing it would lose what it holds
  TSettingsText text(*old);
  TSection section = EntryLines(entries);
  for (const std::string& line : text.SectionLines(file.section)) {
    if (IsKept(line, section.written)) section.lines.push_back(line);
  }
  text.SetSectionLines(file.section, section.lines);
  Replace(file, text);
  if (!section.refused.empty()) Fail("Failed to set data for '" + section.refused + "'");
}

std::optional<std::string> ReadSettingsValue(const TSettingsFile& file, std::string_view name) {
  std::optional<std::string> value;
  for (auto& [entryName, entryValue] : ReadSettings(file)) {
    if (!SameSettingsName(entryName, name)) continue;
    value = entryValue.empty() ? std::nullopt : std::optional(std::move(entryValue));
  }
  return value;
}

namespace {

// Sets name's line among the section's lines as the store would read it.
void SetLine(TSettingsLines& lines, const std::string& name, const std::string& value) {
  const std::optional<std::string> line = SettingsEntryLine(name, SettingsValueToText(value));
  if (!line) Fail("Failed to set data for '" + name + "'");
  const auto isName = [&name](const std::string& l) { return IsLineOf(l, name); };
  const auto first = std::find_if(lines.begin(), lines.end(), isName);
  if (value.empty()) {
    std::erase_if(lines, isName);
  } else if (first == lines.end()) {
    lines.push_back(*line);
  } else {
    *first = *line;
    // Later lines of the name would override it at the next load.
    lines.erase(std::remove_if(first + 1, lines.end(), isName), lines.end());
  }
}

}  // namespace

void WriteSettingsValues(const TSettingsFile& file, const TSettingsEntries& entries) {
  const std::optional<std::string> old = ReadExisting(file.path);
  if (!old) return FailWrite(file);
  TSettingsText text(*old);
  TSettingsLines lines = text.SectionLines(file.section);
  for (const auto& [name, value] : entries) SetLine(lines, name, value);
  text.SetSectionLines(file.section, lines);
  Replace(file, text);
}

void WriteSettingsValue(const TSettingsFile& file, const std::string& name,
                        const std::string& value) {
  WriteSettingsValues(file, {{name, value}});
}
