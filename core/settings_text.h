#pragma once
// The lines of a plain settings file: a section line "[Name]", then lines
// "name=value", the name being the text before the first "=" and the value
// everything after it up to the line end. Nothing is quoted, escaped or
// split here (the old value quoting is settings_value.h's): a hand-edited
// line means what it says.
//
// Lines before the first section line and the lines of other sections are
// kept as they were; only the section a caller asks for is rewritten.
// Section and entry names are compared without regard to ASCII letter case.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TSettingsLines = std::vector<std::string>;

class TSettingsText {
 public:
  // Line ends may be LF or CR LF; a leading UTF-8 byte order mark is dropped.
  explicit TSettingsText(std::string_view bytes);

  // The lines of section, without the section line; a section found more
  // than once gives the lines of every part in file order.
  TSettingsLines SectionLines(std::string_view section) const;
  // Makes lines the whole of section, at the place of its first part (a new
  // section goes at the end of the file). Later parts are merged into it.
  void SetSectionLines(std::string_view section, const TSettingsLines& lines);

  // The file, each line ended by LF.
  std::string Bytes() const;

 private:
  struct TPart {
    std::string header;  // empty for the lines before the first section line
    TSettingsLines lines;
  };
  std::vector<TPart> parts_;
};

bool SameSettingsName(std::string_view a, std::string_view b);

// name and value of an entry line as UTF-8; nullopt for any other line (a
// section line, a line without "=" or with nothing before it). A line that
// is not valid UTF-8 is read as Windows-1252.
std::optional<std::pair<std::string, std::string>> ParseSettingsEntry(std::string_view line);

// The entry line for name and value, or nullopt where a line cannot hold
// them: an empty name, a name with "=", or a line break in either.
std::optional<std::string> SettingsEntryLine(std::string_view name, std::string_view value);
