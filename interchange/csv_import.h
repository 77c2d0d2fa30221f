#pragma once
// Sites from the CSV exports of password keepers and browsers.

#include <string_view>

#include "interchange/site_import.h"

namespace interchange {

// The text is UTF-8 without a byte order mark. Each site goes to take as it
// is read; the result holds the format and notices, and no sites.
TSiteImport ReadCsvSites(std::string_view text, const TImportOptions& options,
                         const TSiteSink& take);

}  // namespace interchange
