#pragma once
// The file formats sites move in and out by: our own CSV, the CSV exports of
// other password keepers and browsers, KeePass 2 XML and Bitwarden's JSON.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace interchange {

enum class TFormat {
  Vornix,
  KeePassXc,
  Bitwarden,
  Chromium,
  Firefox,
  LastPass,
  ProtonPass,
  OnePassword,
  Dashlane,
  KeePassXml,
  BitwardenJson,
};

// The name --format takes for a format, and back.
std::string_view FormatName(TFormat format);
std::optional<TFormat> FormatNamed(std::string_view name);

// The names understood, for messages and usage texts.
std::string ImportFormatNames(std::string_view separator = ", ");
std::string ExportFormatNames(std::string_view separator = ", ");

bool CanImport(TFormat format);
bool CanExport(TFormat format);

// A file that cannot be read as sites; Line() is where (0: the file as a
// whole).
class EFormatError : public std::runtime_error {
 public:
  EFormatError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

}  // namespace interchange
