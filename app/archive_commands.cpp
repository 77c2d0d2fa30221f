// The main window's archive commands: New, Open, Reopen, Save, Save As,
// Close, New archive password, Import and the archive on the command line.

#include <QAction>
#include <QScopeGuard>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "archive/archive_session.h"
#include "app/command_line.h"
#include "app/encryption_label.h"
#include "app/main_window.h"
#include "app/reopen_list.h"
#include "app/site_list_box.h"
#include "core/change_date.h"
#include "core/pw_list.h"
#include "forms/import_dialog.h"
#include "forms/password_dialogs.h"
#include "support/secret_clipboard.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/text_convert.h"

namespace {

TEncryption NewArchiveEncryptionKind() {
  switch (NewArchiveEncryption()) {
    case TNewEncryption::Aes256:
      return TEncryption::Aes256;
    case TNewEncryption::Aes256Hardened:
      return TEncryption::Aes256Hardened;
    case TNewEncryption::Traditional:
      break;
  }
  return TEncryption::Traditional;
}

}  // namespace

void TfrmMain::mmiFileNewClick() { mmiFileCloseClick(); }

void TfrmMain::mmiFileCloseClick() {
  if (IsModified() && MsgDlg().IsYes(kSaveQuestion)) {
    mmiFileSaveClick();
    // Cancelled at the outside-change question: the changes stay.
    if (FSaveCancelled) return;
  }
  SecretClipboard().ClearIfOurs();
  SetArchivePath({});
  SetModified(false);
  ClearSiteList();
  FSites = std::make_unique<TqelPwList>();
  // A new archive uses the encryption chosen in the options until told
  // otherwise, and the last password entered.
  FSession->StartNew(NewArchiveEncryptionKind());
  FSession->SetPassword(TSecretBytes(ToBytes(FArchivePW)));
  SetChangeDates(ChangeDatesFrom(FSession->History().Records()));
  FillSiteList();
  FWatch->Forget();
  lblEncryption->ShowOnDisk(std::nullopt, WriteEncryption());
}

void TfrmMain::mmiFileOpenClick() {
  const QString folder = TqelMsgDlg::ArchiveFolder(ArchivePath());  // before the close forgets it
  mmiFileCloseClick();
  if (IsModified()) return;  // the close was cancelled
  SetArchivePath(MsgDlg().OpenFileDlg("Open Vornix file", kArchiveFilter, folder));
  if (!ArchivePath().isEmpty()) OpenCurrentArchive();
}

void TfrmMain::ReopenClick(QAction* entry) {
  // Read the path first: the entry may be replaced while the archive opens.
  const QString path = ReopenPath(entry);
  mmiFileCloseClick();
  if (IsModified()) return;  // the close was cancelled
  SetArchivePath(path);
  OpenCurrentArchive();
}

void TfrmMain::OpenCommandLineArchive(const QStringList& arguments) {
  const QString path = CommandLineArchive(arguments);
  if (path.isEmpty()) return;
  SetArchivePath(path);
  OpenCurrentArchive();
}

void TfrmMain::OpenCurrentArchive() {
  FPWTries = 0;
  ReadArchive(ArchivePath());
  FillSiteList();
  // The path is empty after an abandoned read.
  if (!ArchivePath().isEmpty()) AddToReopen(ArchivePath());
}

void TfrmMain::AddToReopen(const QString& path) {
  AddReopenEntry(mmiReopen, path, ReopenHandler());
}

void TfrmMain::mmiFileSaveClick() {
  FSaveCancelled = false;
  if (ArchivePath().isEmpty()) {
    mmiFileSaveAsClick();
    return;
  }
  FSaveCancelled = !WriteArchive(ArchivePath());
  // Reached only when writing succeeded or was cancelled: a failed save
  // keeps the archive modified.
  if (!FSaveCancelled) SetModified(false);
}

void TfrmMain::mmiFileSaveAsClick() {
  SetArchivePath(MsgDlg().SaveFileDlg("Save Vornix file as...", kArchiveFilter, "zip", true,
                                      TqelMsgDlg::ArchiveFolder(ArchivePath())));
  if (!ArchivePath().isEmpty()) mmiFileSaveClick();
}

void TfrmMain::mmiNewPWClick() {
  TEncryption encryption = FSession->Encryption();
  if (ExecuteSavePW(FArchivePW, encryption) != mrOk) return;
  FSession->SetEncryption(encryption);
  FSession->ChangePassword(TSecretBytes(ToBytes(FArchivePW)));
  lblEncryption->ShowNext(WriteEncryption());
  SetModified(true);
}

void TfrmMain::mmiImportClick() {
  const QString path = MsgDlg().OpenFileDlg("Select Vornix file to import from", kArchiveFilter,
                                            TqelMsgDlg::ArchiveFolder(ArchivePath()), "zip", false);
  if (path.isEmpty()) return;
  FPWTries = 0;
  std::unique_ptr<TqelPwList> other;
  {
    // The password entered for the other archive is not kept, and an
    // abandoned read ends the import instead of closing this archive.
    const QString password = FArchivePW;
    FReadingOther = true;
    const auto restore = qScopeGuard([this, password] {
      FArchivePW = password;
      FReadingOther = false;
    });
    other = ReadOtherArchive(path);
  }
  if (!other) return;
  if (ExecuteImport(*other) != mrOk) return;
  std::vector<std::unique_ptr<TqelPwRec>> recs = other->TakeRecords();
  if (recs.empty()) return;
  SetModified(true);
  lbxSiteList->AddBatch(std::move(recs));
}
