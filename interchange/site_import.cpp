#include "interchange/site_import.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "interchange/csv.h"
#include "interchange/url_host.h"

namespace interchange {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Where each format keeps the parts of a site, by column name (lower case;
// empty: the format has no such column). The signature columns tell the
// formats apart.
struct TColumnNames {
  TFormat format;
  std::array<std::string_view, 6> signature;
  std::string_view site, user, password, url, notes;
  std::string_view folder;  // a path to put before the site name
  std::string_view totp;    // a one-time password secret, kept in the notes
  std::string_view type;    // only "login" rows hold passwords
  bool folderHasRoot;       // the path starts with the database's own name
};

constexpr std::array<TColumnNames, 5> kFormats = {{
    {TFormat::Vornix,
     {"site", "user", "password", "url", "notes"},
     "site",
     "user",
     "password",
     "url",
     "notes",
     "",
     "",
     "",
     false},
    {TFormat::KeePassXc,
     {"group", "title", "username", "password", "url", "notes"},
     "title",
     "username",
     "password",
     "url",
     "notes",
     "group",
     "totp",
     "",
     true},
    {TFormat::Bitwarden,
     {"folder", "type", "name", "login_uri", "login_username", "login_password"},
     "name",
     "login_username",
     "login_password",
     "login_uri",
     "notes",
     "folder",
     "login_totp",
     "type",
     false},
    {TFormat::Firefox,
     {"url", "username", "password", "httprealm", "formactionorigin", "guid"},
     "",
     "username",
     "password",
     "url",
     "",
     "",
     "",
     "",
     false},
    {TFormat::Chromium,
     {"name", "url", "username", "password"},
     "name",
     "username",
     "password",
     "url",
     "note",
     "",
     "",
     "",
     false},
}};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The column of each part of a site in one file; -1 where it has none.
class TColumnMap {
 public:
  TColumnMap(const TColumnNames& names, const TCsvRecord& header) : names_(names) {
    for (const std::string& name : header) header_.push_back(Lower(name));
  }
  bool Matches() const {
    return std::all_of(names_.signature.begin(), names_.signature.end(),
                       [this](std::string_view name) { return name.empty() || Index(name) >= 0; });
  }
  std::string Get(const TCsvRecord& row, std::string_view name) const {
    const int index = Index(name);
    return index < 0 ? std::string() : row[static_cast<std::size_t>(index)];
  }
  const TColumnNames& Names() const { return names_; }

 private:
  int Index(std::string_view name) const {
    if (name.empty()) return -1;
    auto found = std::find(header_.begin(), header_.end(), name);
    return found == header_.end() ? -1 : static_cast<int>(found - header_.begin());
  }

  const TColumnNames& names_;
  std::vector<std::string> header_;
};

const TColumnNames& NamesOf(TFormat format) {
  for (const TColumnNames& names : kFormats) {
    if (names.format == format) return names;
  }
  throw EFormatError(0, std::string(FormatName(format)) +
                            " files cannot be imported; formats: " + ImportFormatNames());
}

TColumnMap FindColumns(const TCsvRecord& header, std::optional<TFormat> format) {
  if (format) {
    TColumnMap map(NamesOf(*format), header);
    if (!map.Matches()) {
      throw EFormatError(
          1, "the header is not that of a " + std::string(FormatName(*format)) + " export");
    }
    return map;
  }
  for (const TColumnNames& names : kFormats) {
    TColumnMap map(names, header);
    if (map.Matches()) return map;
  }
  throw EFormatError(1, "the header names no format understood; formats: " + ImportFormatNames());
}

// "Passwords/Banking" + "Bank" -> "Banking/Bank" when the path starts with
// the database's own root group.
std::string PrefixedName(std::string_view folder, bool folderHasRoot, const std::string& name) {
  if (folderHasRoot) {
    auto slash = folder.find('/');
    folder = slash == std::string_view::npos ? std::string_view() : folder.substr(slash + 1);
  }
  return folder.empty() ? name : std::string(folder) + "/" + name;
}

std::string NotesWithTotp(std::string notes, const std::string& totp) {
  if (totp.empty()) return notes;
  if (!notes.empty()) notes += '\n';
  return notes + "TOTP: " + totp;
}

TSiteFields FieldsFrom(const TColumnMap& map, const TCsvRecord& row, int line) {
  const TColumnNames& names = map.Names();
  TSiteFields fields;
  fields.user = map.Get(row, names.user);
  fields.password = map.Get(row, names.password);
  fields.url = map.Get(row, names.url);
  fields.notes = NotesWithTotp(map.Get(row, names.notes), map.Get(row, names.totp));
  std::string name = map.Get(row, names.site);
  if (name.empty()) name = UrlHost(fields.url);
  if (name.empty()) throw EFormatError(line, "the record has neither a name nor a URL");
  fields.site = names.format == TFormat::Vornix
                    ? name
                    : PrefixedName(map.Get(row, names.folder), names.folderHasRoot, name);
  return fields;
}

bool IsEmptyRow(const TCsvRecord& row) { return row.size() == 1 && row[0].empty(); }

std::vector<TCsvRow> ParseRows(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  try {
    return ParseCsv(text);
  } catch (const ECsvError& e) {
    throw EFormatError(e.Line(), e.what());
  }
}

}  // namespace

TSiteImport ReadSites(std::string_view text, std::optional<TFormat> format) {
  const std::vector<TCsvRow> rows = ParseRows(text);
  if (rows.empty()) throw EFormatError(1, "the file is empty");
  const TColumnMap map = FindColumns(rows.front().fields, format);
  const std::size_t width = rows.front().fields.size();
  TSiteImport result;
  result.format = map.Names().format;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const TCsvRow& row = rows[r];
    if (IsEmptyRow(row.fields)) continue;
    if (row.fields.size() != width) {
      throw EFormatError(row.line, std::to_string(row.fields.size()) +
                                       " fields where the header has " + std::to_string(width));
    }
    const std::string_view type = map.Names().type;
    if (!type.empty() && map.Get(row.fields, type) != "login") continue;
    result.sites.push_back({FieldsFrom(map, row.fields, row.line), row.line});
  }
  return result;
}

}  // namespace interchange
