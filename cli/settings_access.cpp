#include "cli/settings_access.h"

#include <unistd.h>

#include <array>
#include <string>

#include "core/option_settings.h"
#include "core/settings_file.h"

namespace cli {

namespace {

// The window's program beside this one: its INI file is named after it.
std::string WindowProgramPath() {
  std::array<char, 4096> buffer{};
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return "vornix";
  const std::string self(buffer.data(), static_cast<std::size_t>(length));
  const std::size_t slash = self.rfind('/');
  return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "vornix";
}

}  // namespace

TSettingsFile CliSettingsFile(bool useIni) { return SettingsFileFor(useIni, WindowProgramPath()); }

int StoredBackupCount(bool useIni) {
  const auto text = ReadSettingsValue(CliSettingsFile(useIni), kBackupsSetting);
  if (!text) return kDefaultBackups;
  return ParseSettingCount(*text, kMaxBackups).value_or(kDefaultBackups);
}

}  // namespace cli
