#pragma once
// Where each CSV format keeps the parts of a site, by column name (lower
// case). A header is taken for a format when it holds every required column
// and no column the format does not write.

#include <array>
#include <span>
#include <string_view>

#include "interchange/site_formats.h"

namespace interchange {

using TColumnList = std::array<std::string_view, 12>;  // empty entries unused

// A column kept in the notes as a "label: value" line (the value alone for
// no label).
struct TNoteColumn {
  std::string_view column{}, label{};
};

struct TCsvFormat {
  TFormat format = TFormat::Vornix;
  TColumnList required{};  // in every export of the format
  TColumnList optional{};  // in some versions, or holding nothing a site keeps
  std::string_view site{}, user{}, password{}, url{}, notes{};
  std::string_view folder{};    // a group path to put before the site name
  char folderSeparator = '/';   // between the path's groups
  bool folderHasRoot = false;   // the path starts with the database's own name
  std::string_view totp{};      // a one-time password, kept in the notes
  TNoteColumn otherUser{};      // the user name when that is empty, else a note
  std::array<TNoteColumn, 3> noteColumns{};
  std::string_view urlForNone{};  // a URL that stands for none (secure notes)
};

std::span<const TCsvFormat> CsvFormats();

// Whether a column name appears in the list.
bool Lists(const TColumnList& columns, std::string_view name);

}  // namespace interchange
