#pragma once
// Writing sites in a format another password keeper imports.

#include <string>
#include <vector>

#include "core/site_fields.h"
#include "interchange/site_formats.h"

namespace interchange {

// The whole file's text: our own CSV, the CSV another keeper imports, or the
// XML that turns into a new database of another keeper. Fields are written
// as they are. Throws EFormatError for a format that cannot be written.
std::string WriteSites(const std::vector<TSiteFields>& sites, TFormat format);

}  // namespace interchange
