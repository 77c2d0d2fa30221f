#pragma once
// Sites from a KeePass 2 XML export (as keepassxc-cli export -f xml writes
// it): each entry a site, its groups below the root a prefix of the name.

#include <string_view>

#include "interchange/site_import.h"

namespace interchange {

// The text is UTF-8 without a byte order mark.
TSiteImport ReadKeePassXml(std::string_view text);

}  // namespace interchange
