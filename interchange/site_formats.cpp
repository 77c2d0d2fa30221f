#include "interchange/site_formats.h"

#include <array>

namespace interchange {

namespace {

struct TFormatEntry {
  TFormat format;
  std::string_view name;  // what --format takes
  bool imported;
  bool exported;
};

// In the order usage texts and messages list them.
constexpr std::array<TFormatEntry, 11> kFormats = {{
    {.format = TFormat::Vornix, .name = "vornix", .imported = true, .exported = true},
    {.format = TFormat::KeePassXc, .name = "keepassxc", .imported = true, .exported = false},
    {.format = TFormat::Bitwarden, .name = "bitwarden", .imported = true, .exported = true},
    {.format = TFormat::Chromium, .name = "chrome", .imported = true, .exported = false},
    {.format = TFormat::Firefox, .name = "firefox", .imported = true, .exported = false},
    {.format = TFormat::LastPass, .name = "lastpass", .imported = true, .exported = false},
    {.format = TFormat::ProtonPass, .name = "protonpass", .imported = true, .exported = false},
    {.format = TFormat::OnePassword, .name = "1password", .imported = true, .exported = false},
    {.format = TFormat::Dashlane, .name = "dashlane", .imported = true, .exported = false},
    {.format = TFormat::KeePassXml, .name = "keepass-xml", .imported = true, .exported = true},
    {.format = TFormat::BitwardenJson,
     .name = "bitwarden-json",
     .imported = true,
     .exported = false},
}};

const TFormatEntry* EntryOf(TFormat format) {
  for (const TFormatEntry& entry : kFormats) {
    if (entry.format == format) return &entry;
  }
  return nullptr;
}

std::string JoinNames(bool TFormatEntry::*wanted, std::string_view separator) {
  std::string text;
  for (const TFormatEntry& entry : kFormats) {
    if (!(entry.*wanted)) continue;
    if (!text.empty()) text += separator;
    text += entry.name;
  }
  return text;
}

}  // namespace

std::string_view FormatName(TFormat format) {
  const TFormatEntry* entry = EntryOf(format);
  return entry ? entry->name : std::string_view();
}

std::optional<TFormat> FormatNamed(std::string_view name) {
  for (const TFormatEntry& entry : kFormats) {
    if (entry.name == name) return entry.format;
  }
  // The browsers share one export format.
  if (name == "chromium") return TFormat::Chromium;
  return std::nullopt;
}

std::string ImportFormatNames(std::string_view separator) {
  return JoinNames(&TFormatEntry::imported, separator);
}
std::string ExportFormatNames(std::string_view separator) {
  return JoinNames(&TFormatEntry::exported, separator);
}

bool CanImport(TFormat format) {
  const TFormatEntry* entry = EntryOf(format);
  return entry && entry->imported;
}

bool CanExport(TFormat format) {
  const TFormatEntry* entry = EntryOf(format);
  return entry && entry->exported;
}

}  // namespace interchange
