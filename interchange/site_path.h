#pragma once
// Groups and folders of other keepers become a prefix of the site name:
// folder "Work/Mail" and title "Inbox" make the site "Work/Mail/Inbox", and
// exports turn the prefix back into the folder or group path.

#include <string>
#include <string_view>

namespace interchange {

// "Work/Mail" + "Inbox" -> "Work/Mail/Inbox"; the name alone for no folder.
std::string PrefixedName(std::string_view folder, std::string_view name);

struct TSitePath {
  std::string folder;  // empty when the name has no prefix
  std::string name;
};

// Splits at the last "/" when text stands on both sides of it; a name
// starting or ending with "/" has no folder.
TSitePath SplitSitePath(std::string_view site);

}  // namespace interchange
