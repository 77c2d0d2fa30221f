#pragma once
// The bytes of a file to import as the UTF-8 text a site line holds.

#include <string>
#include <string_view>

namespace interchange {

struct TImportText {
  std::string text;    // UTF-8, without a byte order mark
  std::string notice;  // what was done to make it so; empty when nothing
};

// The bytes after a UTF-8 byte order mark, if they start with one.
std::string_view WithoutUtf8Bom(std::string_view bytes);

// Valid UTF-8 is taken as it is. Text holding no UTF-8 sequence at all
// beyond ASCII is read as Windows-1252 (what spreadsheets on Windows save)
// when mayBeCp1252 is set. Throws EFormatError naming the line for UTF-16
// and for any other byte that is not UTF-8.
TImportText ImportText(std::string_view bytes, bool mayBeCp1252);

}  // namespace interchange
