#include "interchange/site_formats.h"

#include <algorithm>
#include <array>
#include <utility>

namespace interchange {

namespace {

constexpr std::array<std::pair<TFormat, std::string_view>, 6> kNames = {{
    {TFormat::Vornix, "vornix"},
    {TFormat::KeePassXc, "keepassxc"},
    {TFormat::Bitwarden, "bitwarden"},
    {TFormat::Chromium, "chrome"},
    {TFormat::Firefox, "firefox"},
    {TFormat::KeePassXml, "keepass-xml"},
}};

// Importing reads CSV; the XML is for moving out only.
constexpr std::array kImported = {TFormat::Vornix, TFormat::KeePassXc, TFormat::Bitwarden,
                                  TFormat::Chromium, TFormat::Firefox};
constexpr std::array kExported = {TFormat::Vornix, TFormat::KeePassXml, TFormat::Bitwarden};

template <typename Formats>
std::string JoinNames(const Formats& formats) {
  std::string text;
  for (TFormat format : formats) {
    if (!text.empty()) text += ", ";
    text += FormatName(format);
  }
  return text;
}

}  // namespace

std::string_view FormatName(TFormat format) {
  for (const auto& [known, name] : kNames) {
    if (known == format) return name;
  }
  return {};
}

std::optional<TFormat> FormatNamed(std::string_view name) {
  for (const auto& [format, known] : kNames) {
    if (known == name) return format;
  }
  // The browsers share one export format.
  if (name == "chromium") return TFormat::Chromium;
  return std::nullopt;
}

std::string ImportFormatNames() { return JoinNames(kImported); }
std::string ExportFormatNames() { return JoinNames(kExported); }

bool CanImport(TFormat format) {
  return std::find(kImported.begin(), kImported.end(), format) != kImported.end();
}

bool CanExport(TFormat format) {
  return std::find(kExported.begin(), kExported.end(), format) != kExported.end();
}

}  // namespace interchange
