#include "interchange/site_lines.h"

#include "core/pw_rec.h"
#include "core/secret_wipe.h"

namespace interchange {

namespace {

constexpr std::string_view kEndsTrimmed = ": blanks at the ends removed";

bool HasLooseEnds(const std::string& value) { return TrimControls(value) != value; }

std::vector<std::string> Trimmed(const TSiteFields& fields) {
  std::vector<std::string> changes;
  const std::pair<std::string_view, const std::string*> trimmedFields[] = {
      {"site name", &fields.site}, {"user name", &fields.user}, {"URL", &fields.url}};
  for (const auto& [label, value] : trimmedFields) {
    if (HasLooseEnds(*value)) changes.push_back(std::string(label) + std::string(kEndsTrimmed));
  }
  return changes;
}

// The record's line with the notes encoded as they are: the notes setter
// would trim them.
std::string LineOf(const TSiteFields& fields) {
  TqelPwRec rec;
  StoreFields({fields.site, fields.user, fields.password, fields.url, {}}, rec);
  std::string line = rec.Line();
  const std::string note = EncodeNote(fields.notes);
  // Room for exactly the line: a million imported lines are kept as they are.
  ReserveWiping(line, line.size() + note.size());
  line += note;
  return line;
}

}  // namespace

void AddSiteLine(TSiteLines& result, const TImportedSite& site, bool fix) {
  TSiteFields fields = site.fields;
  if (fix && CheckSiteFields(fields)) {
    for (std::string& change : FixSiteFields(fields))
      result.changes.push_back({site.Where(), change});
  }
  if (auto rule = CheckSiteFields(fields)) {
    result.refused.push_back({site.Where(), *rule});
    return;
  }
  for (std::string& change : Trimmed(fields)) result.changes.push_back({site.Where(), change});
  result.lines.push_back(LineOf(fields));
}

TSiteLines SiteLinesOf(const TSiteImport& imported, bool fix) {
  TSiteLines result;
  for (const TImportedSite& site : imported.sites) AddSiteLine(result, site, fix);
  return result;
}

}  // namespace interchange
