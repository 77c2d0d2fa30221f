#pragma once
// Sites from Bitwarden's unencrypted JSON export: every item a site, its
// folder a prefix of the name, what a site has no field for in its notes.

#include <string_view>

#include "interchange/site_import.h"

namespace interchange {

// The text is UTF-8 without a byte order mark.
TSiteImport ReadBitwardenJson(std::string_view text);

}  // namespace interchange
