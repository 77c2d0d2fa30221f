#include "interchange/site_import.h"

#include "interchange/bitwarden_json.h"
#include "interchange/csv_import.h"
#include "interchange/import_text.h"
#include "interchange/keepass_xml_import.h"

namespace interchange {

namespace {

enum class TFileKind { Csv, Xml, Json };

TFileKind KindOf(TFormat format) {
  if (format == TFormat::KeePassXml) return TFileKind::Xml;
  if (format == TFormat::BitwardenJson) return TFileKind::Json;
  return TFileKind::Csv;
}

// XML starts with "<" and JSON with "{" (after blanks); anything else is
// taken for CSV.
TFileKind KindOf(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return TFileKind::Csv;
  if (text[first] == '<') return TFileKind::Xml;
  if (text[first] == '{') return TFileKind::Json;
  return TFileKind::Csv;
}

TFileKind KindOf(std::string_view bytes, const TImportOptions& options) {
  if (options.format) return KindOf(*options.format);
  // A byte order mark does not hide the first character.
  return KindOf(WithoutUtf8Bom(bytes));
}

}  // namespace

std::string TImportedSite::Where() const {
  return line > 0 ? "line " + std::to_string(line) : "item " + std::to_string(item);
}

TSiteImport ReadSites(std::string_view bytes, const TImportOptions& options,
                      const TSiteSink& take) {
  const TFileKind kind = KindOf(bytes, options);
  if (options.format && !CanImport(*options.format)) {
    throw EFormatError(0, std::string(FormatName(*options.format)) +
                              " files cannot be imported; formats: " + ImportFormatNames());
  }
  const TImportText input = ImportText(bytes, kind == TFileKind::Csv);
  TSiteImport result;
  switch (kind) {
    case TFileKind::Xml:
      result = ReadKeePassXml(input.text);
      break;
    case TFileKind::Json:
      result = ReadBitwardenJson(input.text);
      break;
    case TFileKind::Csv:
      result = ReadCsvSites(input.text, options, take);
      break;
  }
  // The tree formats are read whole; their sites are handed on the same way.
  for (TImportedSite& site : result.sites) take(std::move(site));
  result.sites.clear();
  if (!input.notice.empty()) result.notices.insert(result.notices.begin(), input.notice);
  return result;
}

TSiteImport ReadSites(std::string_view bytes, const TImportOptions& options) {
  std::vector<TImportedSite> sites;
  TSiteImport result =
      ReadSites(bytes, options, [&sites](TImportedSite&& site) { sites.push_back(std::move(site)); });
  result.sites = std::move(sites);
  return result;
}

}  // namespace interchange
