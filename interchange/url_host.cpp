#include "interchange/url_host.h"

namespace interchange {

std::string UrlHost(std::string_view url) {
  if (auto scheme = url.find("://"); scheme != std::string_view::npos) {
    url.remove_prefix(scheme + 3);
  }
  url = url.substr(0, url.find_first_of("/?#"));
  if (auto at = url.rfind('@'); at != std::string_view::npos) url.remove_prefix(at + 1);
  if (!url.empty() && url.front() == '[') {
    // An IPv6 literal keeps its colons.
    auto close = url.find(']');
    return std::string(url.substr(0, close == std::string_view::npos ? url.size() : close + 1));
  }
  return std::string(url.substr(0, url.find(':')));
}

}  // namespace interchange
