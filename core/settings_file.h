#pragma once
// The settings file shared by the window and vornix-cli: an INI file whose
// one section holds the settings as "name=value" lines (see settings_text.h
// for the lines, settings_value.h for the value texts). The per-user file
// is $XDG_CONFIG_HOME/Kestrum/Vornix.conf, section "General"; with -useini
// it is vornix.ini beside the program, section "Vornix".
//
// Every write replaces the file as a whole (core/private_file.h), so a
// failed save leaves the previous file as it was.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TSettingsEntries = std::vector<std::pair<std::string, std::string>>;

struct TSettingsFile {
  std::string path;
  std::string section;
  std::string writeErrorText;  // empty: a failed file write is silently skipped
};

// The per-user file (a path override, when set, stands in for it) and the
// INI file beside programPath (the override, when set, stands in for it).
// Tests point both at temporary files.
TSettingsFile UserSettingsFile();
TSettingsFile IniSettingsFile(const std::string& programPath);
void SetSettingsPathOverride(std::string userPath, std::string iniPath);
// The file the window uses: the INI file with useIni, else the per-user one.
TSettingsFile SettingsFileFor(bool useIni, const std::string& programPath);

// The entries of the section in file order, as UTF-8, values unquoted; an
// empty value is given too (the store takes it as removing the name). A
// missing or unreadable file gives none.
TSettingsEntries ReadSettings(const TSettingsFile& file);

// Writes the entries as the section, in their order. Names are matched
// without regard to letter case: an entry replaces a stored line that
// differs from it only in case. Stored lines of Reopen0..Reopen4 are
// dropped; other stored lines the entries do not name are kept after them.
// A file that exists but cannot be read is not replaced. Throws
// std::runtime_error(writeErrorText) when the file cannot be written (unless
// that text is empty), and "Failed to set data for '<name>'" for an entry no
// line can hold (an empty name, "=" in the name, a line break) after the
// others are written.
void WriteSettings(const TSettingsFile& file, const TSettingsEntries& entries);

// One value read straight from the file, as the store would load it (the
// last line of that name wins; an empty one removes it): nullopt when the
// name is missing.
std::optional<std::string> ReadSettingsValue(const TSettingsFile& file, std::string_view name);
// Sets one value in the file, every other line kept; an empty value removes
// the name. Throws as WriteSettings, writing nothing for a refused entry.
void WriteSettingsValue(const TSettingsFile& file, const std::string& name,
                        const std::string& value);
// The same for several values in one replacement of the file.
void WriteSettingsValues(const TSettingsFile& file, const TSettingsEntries& entries);
