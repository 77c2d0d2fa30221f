#include "interchange/import_text.h"

#include <algorithm>
#include <cstdio>

#include "core/text_codec.h"
#include "interchange/site_formats.h"

namespace interchange {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The bytes Windows-1252 leaves undefined: a file holding one is not
// Windows-1252 text either.
constexpr std::string_view kCp1252Undefined = "\x81\x8D\x8F\x90\x9D";

struct TUtf8Scan {
  std::size_t firstBad = std::string_view::npos;
  bool hasMultiByte = false;  // a well-formed sequence beyond ASCII
};

TUtf8Scan ScanUtf8(std::string_view text) {
  TUtf8Scan scan;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = Utf8SequenceLength(text, pos);
    if (length == 0) {
      if (scan.firstBad == std::string_view::npos) scan.firstBad = pos;
      ++pos;
      continue;
    }
    if (length > 1) scan.hasMultiByte = true;
    pos += length;
  }
  return scan;
}

int LineAt(std::string_view text, std::size_t pos) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(pos), '\n'));
}

std::string ByteText(char byte) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(byte));
  return hex;
}

}  // namespace

std::string_view WithoutUtf8Bom(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  return bytes;
}

TImportText ImportText(std::string_view bytes, bool mayBeCp1252) {
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
    throw EFormatError(1, "the file is UTF-16 text; save it as UTF-8");
  }
  bytes = WithoutUtf8Bom(bytes);
  const TUtf8Scan scan = ScanUtf8(bytes);
  if (scan.firstBad == std::string_view::npos) return {bytes, nullptr, {}};
  if (mayBeCp1252 && !scan.hasMultiByte &&
      bytes.find_first_of(kCp1252Undefined) == std::string_view::npos) {
    auto converted = std::make_unique<const std::string>(Cp1252ToUtf8(bytes));
    const std::string_view text = *converted;
    return {text, std::move(converted), "the file is not UTF-8: read as Windows-1252"};
  }
  throw EFormatError(LineAt(bytes, scan.firstBad),
                     "byte " + ByteText(bytes[scan.firstBad]) + " is not UTF-8 text");
}

}  // namespace interchange
