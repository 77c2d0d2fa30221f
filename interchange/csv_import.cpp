#include "interchange/csv_import.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "interchange/csv.h"
#include "interchange/csv_formats.h"
#include "interchange/note_lines.h"
#include "interchange/site_path.h"
#include "interchange/url_host.h"

namespace interchange {

namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
  return text;
}

// How one file's header fits one format.
class TColumnMap {
 public:
  TColumnMap(const TCsvFormat& format, const TCsvRecord& header) : format_(&format) {
    for (const std::string& name : header) header_.push_back(AsciiLowered(name));
    for (std::size_t i = 0; i < header.size(); ++i) {
      if (!Lists(format.required, header_[i]) && !Lists(format.optional, header_[i])) {
        unread_.push_back(header[i]);
      }
    }
  }

  bool HasRequired() const {
    return std::all_of(format_->required.begin(), format_->required.end(),
                       [this](std::string_view name) { return name.empty() || Index(name) >= 0; });
  }
  // The columns of the file the format does not write, as the header names them.
  const std::vector<std::string>& Unread() const { return unread_; }
  const TCsvFormat& Format() const { return *format_; }

  std::string Get(const TCsvRecord& row, std::string_view name) const {
    const int index = Index(name);
    return index < 0 ? std::string() : row[static_cast<std::size_t>(index)];
  }

 private:
  int Index(std::string_view name) const {
    if (name.empty()) return -1;
    auto found = std::find(header_.begin(), header_.end(), name);
    return found == header_.end() ? -1 : static_cast<int>(found - header_.begin());
  }

  const TCsvFormat* format_;
  std::vector<std::string> header_;
  std::vector<std::string> unread_;
};

const TCsvFormat& CsvFormatOf(TFormat format) {
  for (const TCsvFormat& known : CsvFormats()) {
    if (known.format == format) return known;
  }
  throw EFormatError(0, std::string(FormatName(format)) + " files are not CSV");
}

// The format whose columns the header matches exactly; else, with
// ignoreColumns, the one that reads the most of them.
TColumnMap FindColumns(const TCsvRecord& header, const TImportOptions& options,
                       std::vector<std::string>& notices) {
  std::vector<TColumnMap> fitting;
  if (options.format) {
    fitting.emplace_back(CsvFormatOf(*options.format), header);
    if (!fitting.front().HasRequired()) {
      throw EFormatError(1, "the header is not that of a " +
                                std::string(FormatName(*options.format)) + " export");
    }
  } else {
    for (const TCsvFormat& format : CsvFormats()) {
      TColumnMap map(format, header);
      if (map.HasRequired()) fitting.push_back(std::move(map));
    }
    if (fitting.empty()) {
      throw EFormatError(1,
                         "the header names no format understood; formats: " + ImportFormatNames());
    }
  }
  auto closest = std::min_element(
      fitting.begin(), fitting.end(),
      [](const TColumnMap& a, const TColumnMap& b) { return a.Unread().size() < b.Unread().size(); });
  if (!closest->Unread().empty()) {
    const std::string columns = Joined(closest->Unread());
    const std::string format(FormatName(closest->Format().format));
    if (!options.ignoreColumns) {
      throw EUnreadColumns("columns no " + format + " import reads: " + columns +
                               "; --ignore-columns imports the file without them",
                           columns);
    }
    notices.push_back("columns left out: " + columns);
  }
  return *closest;
}

// "Passwords/Banking" -> "Banking" when the path starts with the database's
// own root group; the format's separator becomes "/".
std::string FolderPath(std::string folder, const TCsvFormat& format) {
  std::replace(folder.begin(), folder.end(), format.folderSeparator, '/');
  if (!format.folderHasRoot) return folder;
  const auto slash = folder.find('/');
  return slash == std::string::npos ? std::string() : folder.substr(slash + 1);
}

TSiteFields FieldsFrom(const TColumnMap& map, const TCsvRecord& row, int line) {
  const TCsvFormat& format = map.Format();
  TSiteFields fields;
  fields.user = map.Get(row, format.user);
  fields.password = map.Get(row, format.password);
  fields.url = map.Get(row, format.url);
  if (!format.urlForNone.empty() && fields.url == format.urlForNone) fields.url.clear();
  fields.notes = map.Get(row, format.notes);
  const std::string otherUser = map.Get(row, format.otherUser.column);
  if (fields.user.empty()) {
    fields.user = otherUser;
  } else if (otherUser != fields.user) {
    AppendNoteLine(fields.notes, format.otherUser.label, otherUser);
  }
  for (const TNoteColumn& column : format.noteColumns) {
    AppendNoteLine(fields.notes, column.label, map.Get(row, column.column));
  }
  fields.notes = NotesWithTotp(fields.notes, map.Get(row, format.totp));
  std::string name = map.Get(row, format.site);
  if (name.empty()) name = UrlHost(fields.url);
  if (name.empty()) throw EFormatError(line, "the record has neither a name nor a URL");
  fields.site = PrefixedName(FolderPath(map.Get(row, format.folder), format), name);
  return fields;
}

bool IsEmptyRow(const TCsvRecord& row) { return row.size() == 1 && row[0].empty(); }

// The next record, CSV faults given as the import's own.
bool NextRow(TCsvRows& rows, TCsvRow& row) {
  try {
    return rows.Next(row);
  } catch (const ECsvError& e) {
    throw EFormatError(e.Line(), e.what());
  }
}

}  // namespace

TSiteImport ReadCsvSites(std::string_view text, const TImportOptions& options,
                         const TSiteSink& take) {
  TCsvRows rows(text);
  TCsvRow row;
  if (!NextRow(rows, row)) throw EFormatError(1, "the file is empty");
  TSiteImport result;
  const TColumnMap map = FindColumns(row.fields, options, result.notices);
  const std::size_t width = row.fields.size();
  result.format = map.Format().format;
  while (NextRow(rows, row)) {
    if (IsEmptyRow(row.fields)) continue;
    if (row.fields.size() != width) {
      throw EFormatError(row.line, std::to_string(row.fields.size()) +
                                       " fields where the header has " + std::to_string(width));
    }
    take({.fields = FieldsFrom(map, row.fields, row.line), .line = row.line});
  }
  return result;
}

}  // namespace interchange
