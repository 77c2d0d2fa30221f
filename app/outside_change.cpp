// Changes made to the open archive's file by another program: the question
// at Save (merge, overwrite, cancel), the merge itself, and re-reading the
// file at once while the window holds no unsaved change.

#include <QApplication>
#include <QScopeGuard>

#include "app/archive_watch.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "archive/archive_session.h"
#include "core/change_date.h"
#include "core/pw_list.h"
#include "support/msg_dlg.h"
#include "support/text_convert.h"

namespace {

const char kOutsideChangeQuestion[] =
    "The archive was changed by another program since it was opened.";
const char kOutsideChangeHelp[] =
    "Merge keeps the changes of both versions. Overwrite replaces the other version with "
    "this one.";

}  // namespace

int TfrmMain::AskAboutOutsideChange(const QString& path) {
  const QString message = QString::fromLatin1(kOutsideChangeQuestion) + "\n\n" + path + "\n\n" +
                          QString::fromLatin1(kOutsideChangeHelp);
  // The buttons in OutsideChoice order; a dismissed box cancels.
  const int choice = MsgDlg().Choose(message, {"Merge", "Overwrite", "Cancel"});
  return choice < 0 ? kOutsideCancel : choice;
}

// Merges the file's version into the window's. The window keeps its own
// password and encryption: it is this window's save that follows.
bool TfrmMain::MergeDiskVersion(const QString& path) {
  const TFileSnapshot snapshot = TakeFileSnapshot(ToFileName(path));
  if (snapshot.exists && !MergeVersionFrom(path, false)) return false;
  FSession->TakeDiskVersion(snapshot);
  return true;
}

std::optional<TfrmMain::TMemberRead> TfrmMain::ReadKeepingArchive(const QString& path, bool own) {
  FPWTries = 0;
  FReadingOther = true;
  const auto restore = qScopeGuard([this] { FReadingOther = false; });
  const std::string first = ToBytes(FArchivePW);
  TMemberRead read = own ? ReadOwnMember(path, first) : ReadOtherMember(path, first);
  if (FReadAbandoned) return std::nullopt;
  return read;
}

void TfrmMain::ArchiveTouched() {
  RunGuarded([this] { ReReadArchive(); });
}

// With no unsaved change there is nothing to merge: the window simply shows
// the file as it is now, as if it had been opened again.
void TfrmMain::ReReadArchive() {
  if (FDestroyed || FLocked || IsModified() || FReader || ArchivePath().isEmpty()) return;
  // A dialog may hold a site record of the list (the site editor), and a
  // question may be waiting for an answer: look again once it is closed.
  if (QApplication::activeModalWidget()) {
    FWatch->CheckLater();
    return;
  }
  const QString path = ArchivePath();
  if (!FSession->ChangedOnDisk()) return;
  if (!ReadKeepingArchive(path, true)) return;  // the next save asks what to do
  RefillKeepingSelection();
  FWatch->Watch(path);
}

// Rebuilds the list box from FSites; the selected site stays selected when
// it is still there (the same line, else the same name).
void TfrmMain::RefillKeepingSelection() {
  const int index = lbxSiteList->ItemIndex();
  const std::string line = index >= 0 ? lbxSiteList->Line(index) : std::string();
  const QString name = index >= 0 ? lbxSiteList->Text(index) : QString();
  ClearSiteList();
  FillSiteList();
  if (index < 0) return;
  int byName = -1;
  for (int i = 0; i < lbxSiteList->Count(); ++i) {
    if (lbxSiteList->Line(i) == line) {
      lbxSiteList->SetItemIndex(i);
      return;
    }
    if (byName < 0 && lbxSiteList->Text(i) == name) byName = i;
  }
  if (byName >= 0) lbxSiteList->SetItemIndex(byName);
}
