#include "interchange/site_path.h"

namespace interchange {

std::string PrefixedName(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return std::string(folder) + "/" + std::string(name);
}

TSitePath SplitSitePath(std::string_view site) {
  const std::size_t slash = site.rfind('/');
  if (slash == std::string_view::npos || slash == 0 || slash + 1 == site.size()) {
    return {{}, std::string(site)};
  }
  return {std::string(site.substr(0, slash)), std::string(site.substr(slash + 1))};
}

}  // namespace interchange
