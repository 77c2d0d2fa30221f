// Moving sites in from the CSV files other keepers and browsers export, and
// out in a format another keeper imports.

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <set>

#include "app/main_window.h"
#include "app/site_list_box.h"
#include "core/pw_list.h"
#include "core/pw_rec.h"
#include "core/site_fields.h"
#include "forms/export_dialog.h"
#include "forms/import_dialog.h"
#include "interchange/site_export.h"
#include "interchange/site_import.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/text_convert.h"

namespace {

using interchange::TFormat;

struct TExportChoice {
  const char* label;
  TFormat format;
  const char* filter;
  const char* extension;
};

constexpr TExportChoice kExportChoices[] = {
    {"Vornix CSV", TFormat::Vornix, "CSV files (*.csv)|*.csv", "csv"},
    {"KeePass 2 XML (a new KeePassXC database)", TFormat::KeePassXml, "XML files (*.xml)|*.xml",
     "xml"},
    {"Bitwarden CSV", TFormat::Bitwarden, "CSV files (*.csv)|*.csv", "csv"},
};

std::string ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("Cannot read " + ToBytes(path) + ": " + ToBytes(file.errorString()));
  }
  return file.readAll().toStdString();
}

// Written beside the old file and renamed over it, readable by the owner
// only: the file holds every password in clear text.
void WritePrivateFile(const QString& path, const std::string& text) {
  QSaveFile file(path);
  const bool written = file.open(QIODevice::WriteOnly) &&
                       file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                       file.write(text.data(), static_cast<qint64>(text.size())) ==
                           static_cast<qint64>(text.size()) &&
                       file.commit();
  if (!written) {
    throw std::runtime_error("Cannot write " + ToBytes(path) + ": " + ToBytes(file.errorString()));
  }
}

// The sites of a CSV file split into those the archive can hold, as site
// lines, and a description of each that it cannot.
struct TCsvSites {
  std::vector<std::string> lines;
  QStringList refused;
};

TCsvSites SortImported(const interchange::TSiteImport& imported) {
  TCsvSites result;
  for (const interchange::TImportedSite& site : imported.sites) {
    if (auto reason = CheckSiteFields(site.fields)) {
      result.refused << QStringLiteral("Line %1: %2").arg(site.line).arg(ToQString(*reason));
      continue;
    }
    TqelPwRec rec;
    StoreFields(site.fields, rec);
    result.lines.push_back(rec.Line());
  }
  return result;
}

bool AgreeToSkip(const QStringList& refused, std::size_t rest) {
  if (refused.isEmpty()) return true;
  return MsgDlg().IsYes(
      QStringLiteral("%1 record(s) cannot be stored in an archive and will be left out:\n%2\n\n"
                     "Import the other %3?")
          .arg(refused.size())
          .arg(refused.join(QLatin1Char('\n')))
          .arg(rest));
}

}  // namespace

void TfrmMain::mmiImportCsvClick() {
  const QString path =
      MsgDlg().OpenFileDlg("Select CSV file to import", "CSV files (*.csv)|*.csv", {}, "csv", true);
  if (path.isEmpty()) return;
  interchange::TSiteImport imported;
  try {
    imported = interchange::ReadSites(ReadFileBytes(path));
  } catch (const interchange::EFormatError& e) {
    MsgDlg().ShowError(QStringLiteral("Cannot import %1, line %2: %3")
                           .arg(path)
                           .arg(e.Line())
                           .arg(ToQString(e.what())));
    return;
  }
  TCsvSites sites = SortImported(imported);
  if (!AgreeToSkip(sites.refused, sites.lines.size())) return;
  std::set<std::string> present;
  for (int i = 0; i < lbxSiteList->Count(); ++i) present.insert(lbxSiteList->Line(i));
  std::vector<std::string> fresh;
  for (const std::string& line : sites.lines) {
    if (!present.count(line)) fresh.push_back(line);
  }
  TqelPwList offered;
  offered.Add(std::move(fresh));
  if (offered.Count() == 0 || ExecuteImport(offered) != mrOk) return;
  std::vector<std::unique_ptr<TqelPwRec>> recs;
  for (int i = 0; i < offered.Count(); ++i) recs.push_back(offered.Rec(i).Clone());
  if (recs.empty()) return;
  SetModified(true);
  lbxSiteList->AddBatch(std::move(recs));
}

void TfrmMain::mmiExportCsvClick() {
  QStringList labels;
  for (const TExportChoice& choice : kExportChoices) labels << QString::fromLatin1(choice.label);
  int chosen = 0;
  if (ExecuteExport(labels, chosen) != mrOk) return;
  const TExportChoice& choice = kExportChoices[chosen];
  const QString path =
      MsgDlg().SaveFileDlg("Export sites to", choice.filter, choice.extension, true);
  if (path.isEmpty()) return;
  std::vector<TSiteFields> sites;
  TqelPwRec rec;  // read through the lines, so the list stays compact
  for (int i = 0; i < lbxSiteList->Count(); ++i) {
    rec.SetLine(lbxSiteList->Line(i));
    sites.push_back(FieldsOf(rec));
  }
  rec.Wipe();
  WritePrivateFile(path, interchange::WriteSites(sites, choice.format));
}
