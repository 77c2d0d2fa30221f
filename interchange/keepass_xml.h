#pragma once
// The XML database form other keepers import into a new database: one entry
// per site in a root group; a name's prefix "A/B/" becomes the groups A and
// B below it, and the notes' TOTP line the entry's "otp" string.

#include <string>
#include <vector>

#include "core/site_fields.h"

namespace interchange {

std::string KeePassXml(const std::vector<TSiteFields>& sites);

}  // namespace interchange
