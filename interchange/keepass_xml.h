#pragma once
// The XML database form other keepers import into a new database: one group
// holding one entry per site, the site name as its title.

#include <string>
#include <vector>

#include "core/site_fields.h"

namespace interchange {

std::string KeePassXml(const std::vector<TSiteFields>& sites);

}  // namespace interchange
