#include "interchange/site_export.h"

#include "interchange/csv.h"
#include "interchange/keepass_xml.h"
#include "interchange/note_lines.h"
#include "interchange/site_path.h"

namespace interchange {

namespace {

std::string VornixCsv(const std::vector<TSiteFields>& sites) {
  std::string text = CsvRecordText({"site", "user", "password", "url", "notes"});
  for (const TSiteFields& f : sites) {
    text += CsvRecordText({f.site, f.user, f.password, f.url, f.notes});
  }
  return text;
}

// The name's prefix becomes the folder (Bitwarden nests folders named
// "A/B"), the notes' TOTP line the login's TOTP.
std::string BitwardenCsv(const std::vector<TSiteFields>& sites) {
  std::string text =
      CsvRecordText({"folder", "favorite", "type", "name", "notes", "fields", "reprompt",
                     "login_uri", "login_username", "login_password", "login_totp"});
  for (const TSiteFields& f : sites) {
    const TSitePath path = SplitSitePath(f.site);
    const TNotesTotp notes = SplitTotp(f.notes);
    text += CsvRecordText({path.folder, "", "login", path.name, notes.notes, "", "0", f.url, f.user,
                           f.password, notes.totp});
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
    default:
      break;
  }
  throw EFormatError(0, std::string(FormatName(format)) +
                            " files cannot be written; formats: " + ExportFormatNames());
}

}  // namespace interchange
