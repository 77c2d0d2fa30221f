#pragma once
// Reading sites from the files password keepers and browsers export: their
// CSV (columns found by the header's names, not by position), KeePass 2 XML
// and Bitwarden's JSON. The format is recognised from the file unless the
// caller names it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/site_fields.h"
#include "interchange/site_formats.h"

namespace interchange {

struct TImportedSite {
  TSiteFields fields;  // as the file has them, not yet checked
  int line = 0;        // where the record starts in the file; 0 when unknown
  int item = 0;        // its place among the file's items when the line is unknown
  // "line 12", or "item 3" where lines are not known.
  std::string Where() const;
};

struct TSiteImport {
  TFormat format = TFormat::Vornix;
  std::vector<TImportedSite> sites;
  // What the reading left out or read otherwise, one sentence each.
  std::vector<std::string> notices;
};

// A CSV header with columns no mapping of its closest format reads; the
// message names them and --ignore-columns.
class EUnreadColumns : public EFormatError {
 public:
  EUnreadColumns(const std::string& message, std::string columns)
      : EFormatError(1, message), columns_(std::move(columns)) {}
  // "\"extra\", \"fav\"".
  const std::string& Columns() const { return columns_; }

 private:
  std::string columns_;
};

struct TImportOptions {
  std::optional<TFormat> format{};  // recognised from the file when not given
  bool ignoreColumns = false;     // import a CSV file whose columns are not all read
};

// Throws EFormatError for text that is not UTF-8 (a CSV file may be
// Windows-1252), malformed CSV, XML or JSON, a CSV header no format matches
// exactly (the message names the formats understood, or the columns no
// format reads), a record with the wrong number of fields, or one with
// neither a name nor a URL to name it by.
TSiteImport ReadSites(std::string_view bytes, const TImportOptions& options = {});

// Receives the sites of a file one at a time, in the file's order.
using TSiteSink = std::function<void(TImportedSite&&)>;

// ReadSites, each site handed to take as soon as it is read rather than
// collected (a CSV file of a million sites is then never held as records
// beside its text); the result holds no sites.
TSiteImport ReadSites(std::string_view bytes, const TImportOptions& options,
                      const TSiteSink& take);

}  // namespace interchange
