// Other versions of the open archive merged into it: File > Merge from
// archive..., the outside-change Merge, and the offer to merge a conflict
// copy that a sync service left beside the archive.

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "app/conflict_bar.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "archive/archive_session.h"
#include "archive/storage/conflict_copies.h"
#include "archive/storage/vault_save.h"
#include "core/change_date.h"
#include "core/merge_report.h"
#include "core/pw_list.h"
#include "core/site_merge.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/text_convert.h"

namespace {

const char kNothingMerged[] = "Both versions hold the same sites.";

}  // namespace

void TfrmMain::BuildConflictBar() {
  pnlConflictCopy = new TConflictBar;
  // Between the toolbar and the site list.
  static_cast<QVBoxLayout*>(centralWidget()->layout())->insertWidget(1, pnlConflictCopy);
  connect(pnlConflictCopy, &TConflictBar::MergeAsked, this,
          [this](const QString& name) { RunGuarded([this, name] { MergeConflictCopy(name); }); });
  connect(FWatch, &TArchiveWatch::Touched, this, &TfrmMain::OfferConflictCopies);
}

// Each copy is offered once; the bar shows one at a time.
void TfrmMain::OfferConflictCopies() {
  if (FLocked || ArchivePath().isEmpty() || !pnlConflictCopy->isHidden()) return;
  for (const std::string& name : ConflictCopiesOf(ToFileName(ArchivePath()))) {
    const QString copy = ToQString(name);
    if (FOfferedCopies.contains(copy)) continue;
    FOfferedCopies << copy;
    pnlConflictCopy->Offer(copy);
    return;
  }
}

// Merged and saved, the copy becomes the newest backup; copies of the
// backups, older versions only, go.
void TfrmMain::MergeConflictCopy(const QString& name) {
  const QString path = ArchivePath();
  if (FLocked || path.isEmpty()) return;
  const QString copy = QFileInfo(path).dir().filePath(name);
  if (!QFileInfo::exists(copy) || !MergeVersionFrom(copy, true)) return;
  SetModified(true);
  mmiFileSaveClick();
  if (FSaveCancelled || IsModified()) return;
  const std::string file = ToFileName(path);
  RetireConflictCopy(file, ToFileName(name), BackupCount());
  RemoveBackupConflictCopies(file);
  OfferConflictCopies();
}

void TfrmMain::mmiMergeArchiveClick() {
  const QString path =
      MsgDlg().OpenFileDlg("Select Vornix file to merge from", kArchiveFilter, {}, "zip", true);
  if (path.isEmpty()) return;
  if (MergeVersionFrom(path, true)) SetModified(true);
}

bool TfrmMain::MergeVersionFrom(const QString& path, bool tellAlways) {
  // The password entered for the other version is not kept.
  const QString password = FArchivePW;
  const auto restore = qScopeGuard([this, password] { FArchivePW = password; });
  const std::optional<TMemberRead> read = ReadKeepingArchive(path, false);
  if (!read) return false;
  CollectSites();
  TVaultHistory& history = FSession->History();
  const TVaultVersion ours = history.Version(FSites->SaveToText());
  const TMergeOutcome outcome =
      MergeVersions(ours, VaultVersion(read->data.str(), read->records, read->dataTime),
                    StampNow(ours.records));
  FSites->Clear();
  for (const std::string& line : outcome.lines) FSites->Add(line);
  history.Adopt(FSites->SaveToText(), outcome.records);
  SetChangeDates(ChangeDatesFrom(history.Records()));
  RefillKeepingSelection();
  TellMergeOutcome(path, outcome, tellAlways);
  return true;
}

// Conflicts and a version without records are always told; the rest only
// when the user asked for the merge.
void TfrmMain::TellMergeOutcome(const QString& path, const TMergeOutcome& outcome,
                                bool tellAlways) {
  if (!tellAlways && outcome.conflicts.empty() && !outcome.withoutRecords) return;
  QString text = ToQString(MergeReportText(outcome));
  if (text.isEmpty()) text = QString::fromLatin1(kNothingMerged) + "\n";
  if (outcome.withoutRecords) text += "\n" + QString::fromLatin1(kMergeWithoutRecordsNote);
  MsgDlg().ShowWarning("Merged " + path + ":\n\n" + text.trimmed());
}
