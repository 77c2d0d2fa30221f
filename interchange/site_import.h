#pragma once
// Reading sites from the CSV files password keepers and browsers export. The
// columns are found by the header's names, not by position, and the format is
// recognised from the header unless the caller names it.

#include <optional>
#include <string_view>
#include <vector>

#include "core/site_fields.h"
#include "interchange/site_formats.h"

namespace interchange {

struct TImportedSite {
  TSiteFields fields;  // as the file has them, not yet checked
  int line = 0;        // where the record starts in the file
};

struct TSiteImport {
  TFormat format = TFormat::Vornix;
  std::vector<TImportedSite> sites;
};

// Throws EFormatError for malformed CSV, a header no format matches (the
// message lists the formats understood), a record with the wrong number of
// fields, or one with neither a name nor a URL to name it by.
TSiteImport ReadSites(std::string_view text, std::optional<TFormat> format = std::nullopt);

}  // namespace interchange
