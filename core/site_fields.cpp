#include "core/site_fields.h"

#include "core/pw_rec.h"

namespace {

// `stored` is the value as the record will hold it.
std::optional<std::string> CheckLineField(std::string_view label, std::string_view stored) {
  const std::string prefix = "The " + std::string(label) + " cannot contain ";
  if (stored.find('\t') != std::string::npos) return prefix + "a tab character.";
  if (stored.find_first_of("\r\n") != std::string::npos) return prefix + "a line break.";
  if (stored.find('\0') != std::string::npos) return prefix + "a NUL character.";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckSiteFields(const TSiteFields& fields) {
  const std::string site = TrimControls(fields.site);
  if (site.empty()) return "Site name / Description must be filled";
  if (site.find('=') != std::string::npos) return "The site name cannot contain \"=\".";
  // The password is stored exactly, so a TAB or line break at its ends is
  // refused too; the other fields lose theirs to trimming.
  const std::string user = TrimControls(fields.user);
  const std::string url = TrimControls(fields.url);
  const std::pair<std::string_view, std::string_view> lineFields[] = {
      {"site name", site}, {"user name", user}, {"password", fields.password}, {"URL", url}};
  for (const auto& [label, stored] : lineFields) {
    if (auto message = CheckLineField(label, stored)) return message;
  }
  if (fields.notes.find('\0') != std::string::npos) {
    return "The notes cannot contain a NUL character.";
  }
  return std::nullopt;
}

namespace {

// Blanks every byte of `bad` in value; true when something changed.
bool Blank(std::string& value, std::string_view bad) {
  bool changed = false;
  for (char& c : value) {
    if (bad.find(c) != std::string_view::npos) {
      c = ' ';
      changed = true;
    }
  }
  return changed;
}

}  // namespace

std::vector<std::string> FixSiteFields(TSiteFields& fields) {
  using namespace std::string_view_literals;
  std::vector<std::string> changes;
  if (Blank(fields.site, "="sv)) changes.push_back("site name: \"=\" replaced by a blank");
  const std::pair<std::string_view, std::string*> lineFields[] = {{"site name", &fields.site},
                                                                  {"user name", &fields.user},
                                                                  {"password", &fields.password},
                                                                  {"URL", &fields.url}};
  for (const auto& [label, value] : lineFields) {
    if (Blank(*value, "\t\r\n\0"sv)) {
      changes.push_back(std::string(label) + ": tab or line break replaced by a blank");
    }
  }
  if (Blank(fields.notes, "\0"sv)) changes.push_back("notes: NUL replaced by a blank");
  return changes;
}

TSiteFields FieldsOf(const TqelPwRec& rec) {
  return {rec.Site(), rec.User(), rec.PW(), rec.URL(), ToLfLineBreaks(rec.Note())};
}

void StoreFields(const TSiteFields& fields, TqelPwRec& rec) {
  rec.SetSite(fields.site);
  rec.SetUser(fields.user);
  rec.SetPW(fields.password);
  rec.SetURL(fields.url);
  rec.SetNote(fields.notes);
}

std::string ToLfLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      result += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}
