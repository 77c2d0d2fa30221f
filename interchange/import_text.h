#pragma once
// The bytes of a file to import as the UTF-8 text a site line holds.

#include <memory>
#include <string>
#include <string_view>

namespace interchange {

struct TImportText {
  // UTF-8, without a byte order mark: within the bytes given when they are
  // UTF-8 already (a large file is not copied), else within converted.
  std::string_view text;
  std::unique_ptr<const std::string> converted;
  std::string notice;  // what was done to make it so; empty when nothing
};

// The bytes after a UTF-8 byte order mark, if they start with one.
std::string_view WithoutUtf8Bom(std::string_view bytes);

// Valid UTF-8 is taken as it is. Text holding no UTF-8 sequence at all
// beyond ASCII is read as Windows-1252 (what spreadsheets on Windows save)
// when mayBeCp1252 is set. The result may point into bytes. Throws
// EFormatError naming the line for UTF-16 and for any other byte that is
// not UTF-8.
TImportText ImportText(std::string_view bytes, bool mayBeCp1252);

}  // namespace interchange
