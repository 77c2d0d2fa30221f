// Moving sites in from the CSV files other keepers and browsers export, and
// out in a format another keeper imports.

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <set>

#include "app/main_window.h"
#include "app/site_list_box.h"
#include "core/pw_list.h"
#include "core/private_file.h"
#include "core/pw_rec.h"
#include "core/site_fields.h"
#include "forms/export_dialog.h"
#include "forms/import_dialog.h"
#include "interchange/site_export.h"
#include "interchange/site_import.h"
#include "interchange/site_lines.h"
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

// Other keepers' exports: CSV, KeePass 2 XML and Bitwarden JSON.
const QString kImportFilter =
    QStringLiteral("Export files (*.csv *.xml *.json)|*.csv;*.xml;*.json|CSV files (*.csv)|*.csv");

std::string ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw std::runtime_error("Cannot read " + ToBytes(path) + ": " + ToBytes(file.errorString()));
  }
  return file.readAll().toStdString();
}

// The save dialog asked before an existing file is overwritten, so the
// export replaces it: written beside it, readable by the owner only (every
// password is in clear text), and renamed over it.
void WritePrivateFile(const QString& path, const std::string& text) {
  if (!ReplacePrivateFile(QFile::encodeName(path).toStdString(), text)) {
    throw std::runtime_error("Cannot write " + ToBytes(path) + ": " + std::strerror(errno));
  }
}

QString IssueText(const interchange::TImportIssue& issue) {
  QString where = ToQString(issue.where);
  if (!where.isEmpty()) where[0] = where[0].toUpper();
  return where + QStringLiteral(": ") + ToQString(issue.message);
}

QStringList IssueTexts(const std::vector<interchange::TImportIssue>& issues) {
  QStringList texts;
  for (const interchange::TImportIssue& issue : issues) texts << IssueText(issue);
  return texts;
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

// What the preview does not show of the file, and what was changed.
QString PreviewNote(std::size_t present, const interchange::TSiteImport& imported,
                    const interchange::TSiteLines& lines) {
  QStringList note;
  if (present > 0) note << QStringLiteral("%1 row(s) already present, not shown.").arg(present);
  for (const std::string& notice : imported.notices) note << ToQString(notice) + QLatin1Char('.');
  // A few changes by name, the rest counted: the note has two lines.
  constexpr qsizetype kChangesNamed = 3;
  const QStringList changes = IssueTexts(lines.changes);
  note << changes.mid(0, kChangesNamed);
  if (changes.size() > kChangesNamed) {
    note << QStringLiteral("And %1 more change(s).").arg(changes.size() - kChangesNamed);
  }
  return note.join(QLatin1Char(' '));
}

}  // namespace

void TfrmMain::mmiImportCsvClick() {
  const QString path =
      MsgDlg().OpenFileDlg("Select file to import", kImportFilter, {}, "csv", true);
  if (path.isEmpty()) return;
  interchange::TSiteImport imported;
  try {
    const std::string bytes = ReadFileBytes(path);
    try {
      imported = interchange::ReadSites(bytes);
    } catch (const interchange::EUnreadColumns& e) {
      if (!MsgDlg().IsYes(QStringLiteral("No format reads the columns %1 of %2.\n\n"
                                         "Import the file without them?")
                              .arg(ToQString(e.Columns()), path))) {
        return;
      }
      imported = interchange::ReadSites(bytes, {.ignoreColumns = true});
    }
  } catch (const interchange::EFormatError& e) {
    const QString where = e.Line() > 0 ? QStringLiteral(", line %1").arg(e.Line()) : QString();
    MsgDlg().ShowError(
        QStringLiteral("Cannot import %1%2: %3").arg(path, where, ToQString(e.what())));
    return;
  }
  const interchange::TSiteLines sites = interchange::SiteLinesOf(imported, false);
  if (!AgreeToSkip(IssueTexts(sites.refused), sites.lines.size())) return;
  std::set<std::string> present;
  for (int i = 0; i < lbxSiteList->Count(); ++i) present.insert(lbxSiteList->Line(i));
  std::vector<std::string> fresh;
  std::size_t held = 0;
  for (const std::string& line : sites.lines) {
    if (present.count(line)) ++held;
    else fresh.push_back(line);
  }
  TqelPwList offered;
  offered.Add(std::move(fresh));
  const QString name = QFileInfo(path).fileName();
  if (offered.Count() == 0) {
    if (held > 0) {
      MsgDlg().ShowWarning(QStringLiteral("%1 holds no site that is not already present (%2 "
                                          "row(s) already present).")
                               .arg(name)
                               .arg(held));
    } else if (sites.refused.empty()) {
      MsgDlg().ShowWarning(QStringLiteral("%1 holds no site.").arg(name));
    }
    return;
  }
  if (ExecuteImport(offered, QStringLiteral("Import items from %1").arg(name),
                    PreviewNote(held, imported, sites)) != mrOk) {
    return;
  }
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
