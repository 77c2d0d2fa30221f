#include "interchange/site_export.h"

#include "interchange/csv.h"
#include "interchange/keepass_xml.h"

namespace interchange {

namespace {

std::string VornixCsv(const std::vector<TSiteFields>& sites) {
  std::string text = CsvRecordText({"site", "user", "password", "url", "notes"});
  for (const TSiteFields& f : sites) {
    text += CsvRecordText({f.site, f.user, f.password, f.url, f.notes});
  }
  return text;
}

// Sites stay flat: a "/" in a name is part of the name, so a round trip gives
// back the same names.
std::string BitwardenCsv(const std::vector<TSiteFields>& sites) {
  std::string text =
      CsvRecordText({"folder", "favorite", "type", "name", "notes", "fields", "reprompt",
                     "login_uri", "login_username", "login_password", "login_totp"});
  for (const TSiteFields& f : sites) {
    text +=
        CsvRecordText({"", "", "login", f.site, f.notes, "", "0", f.url, f.user, f.password, ""});
  }
  return text;
}

}  // namespace

std::string WriteSites(const std::vector<TSiteFields>& sites, TFormat format) {
  switch (format) {
    case TFormat::Vornix:
      return VornixCsv(sites);
    case TFormat::Bitwarden:
      return BitwardenCsv(sites);
    case TFormat::KeePassXml:
      return KeePassXml(sites);
    case TFormat::KeePassXc:
    case TFormat::Chromium:
    case TFormat::Firefox:
      break;
  }
  throw EFormatError(0, std::string(FormatName(format)) +
                            " files cannot be written; formats: " + ExportFormatNames());
}

}  // namespace interchange
