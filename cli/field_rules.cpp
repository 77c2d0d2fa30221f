#include "cli/field_rules.h"

#include "cli/cli_error.h"
#include "core/pw_rec.h"

namespace cli {

namespace {

std::optional<std::string> CheckLineField(std::string_view label, std::string_view value) {
  const std::string trimmed = TrimControls(value);
  const std::string prefix = "The " + std::string(label) + " cannot contain ";
  if (trimmed.find('\t') != std::string::npos) return prefix + "a tab character.";
  if (trimmed.find_first_of("\r\n") != std::string::npos) return prefix + "a line break.";
  if (trimmed.find('\0') != std::string::npos) return prefix + "a NUL character.";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> CheckSiteFields(const TSiteFields& fields) {
  const std::string site = TrimControls(fields.site);
  if (site.empty()) return "Site name / Description must be filled";
  if (site.find('=') != std::string::npos) return "The site name cannot contain \"=\".";
  const std::pair<std::string_view, const std::string*> lineFields[] = {
      {"site name", &fields.site},
      {"user name", &fields.user},
      {"password", &fields.password},
      {"URL", &fields.url}};
  for (const auto& [label, value] : lineFields) {
    if (auto message = CheckLineField(label, *value)) return message;
  }
  if (fields.notes.find('\0') != std::string::npos) {
    return "The notes cannot contain a NUL character.";
  }
  return std::nullopt;
}

void RequireValidSite(const TSiteFields& fields) {
  if (auto message = CheckSiteFields(fields)) throw ECliError(kExitDataError, *message);
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

}  // namespace cli
