// Locking the main window: by the Lock command, after idle minutes and with
// the session. A locked window holds no site, no list and no password; the
// archive is read again from disk when the right password is entered.
// Also the Options command, whose idle and screen saver settings steer it.

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "app/auto_lock.h"
#include "app/error_display.h"
#include "app/find_box.h"
#include "app/lock_panel.h"
#include "app/main_window.h"
#include "app/session_lock_watch.h"
#include "app/site_list_box.h"
#include "archive/archive_session.h"
#include "core/change_date.h"
#include "core/pw_list.h"
#include "core/secret_wipe.h"
#include "core/text_codec.h"
#include "forms/options_dialog.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/options.h"
#include "support/secret_clipboard.h"
#include "support/secret_text.h"
#include "support/text_convert.h"

namespace {

const char kWaitingForSave[] = "Lock waits for unsaved changes";
const char kWaitingForDialog[] = "Lock waits for the open dialog";

// The answers to the save question before a lock, in button order.
enum SaveChoice { kSaveYes, kSaveNo, kSaveCancel };


}  // namespace

void TfrmMain::BuildLock() {
  mmiTools->addSeparator()->setObjectName("mmiToolsSepLock");
  mmiLock = AddCommand(mmiTools, "mmiLock", "&Lock", &TfrmMain::mmiLockClick);
  mmiLock->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  AddCommand(mmiTools, "mmiOptions", "&Options...", &TfrmMain::mmiOptionsClick);
  connect(mmiTools, &QMenu::aboutToShow, this, &TfrmMain::UpdateLockCommand);

  pnlLocked = new TLockPanel;
  pnlLocked->hide();
  centralWidget()->layout()->addWidget(pnlLocked);
  connect(pnlLocked, &TLockPanel::UnlockRequested, this,
          [this](const QString& password) { RunGuarded([this, password] { Unlock(password); }); });

  lblLockWaiting = new QLabel;
  lblLockWaiting->setObjectName("lblLockWaiting");
  lblLockWaiting->setTextFormat(Qt::PlainText);
  lblLockWaiting->hide();
  StatusBar->addPermanentWidget(lblLockWaiting);

  FAutoLock = new TAutoLock(
      {[this] { return CanLock(); }, [this] { return LockBlocker(); }, [this] { LockNow(); },
       [this](const QString& reason) {
         lblLockWaiting->setText(reason);
         lblLockWaiting->setVisible(!reason.isEmpty());
       }},
      this);
  auto* session = new TSessionLockWatch(this);
  connect(session, &TSessionLockWatch::LockChanged, FAutoLock, &TAutoLock::SetSessionLocked);
  UpdateLockCommand();
}

// Only an archive with a password and a file to read it back from can be
// locked: anything else could not be unlocked.
bool TfrmMain::CanLock() const {
  if (FLocked || FSession->Password().empty() || ArchivePath().isEmpty()) return false;
  const QFileInfo file(ArchivePath());
  return file.exists() && !file.isDir();
}

QString TfrmMain::LockBlocker() const {
  if (IsModified()) return kWaitingForSave;
  // Also a password prompt inside a read, which holds the reader's state.
  if (QApplication::activeModalWidget() || FReader) return kWaitingForDialog;
  return {};
}

void TfrmMain::UpdateLockCommand() {
  if (mmiLock && !FLocked) mmiLock->setEnabled(CanLock());
}

void TfrmMain::mmiLockClick() {
  if (!CanLock()) return;
  if (IsModified()) {
    switch (MsgDlg().Choose(kSaveQuestion, {"Yes", "No", "Cancel"})) {
      case kSaveYes:
        mmiFileSaveClick();
        if (FSaveCancelled || IsModified()) return;
        break;
      case kSaveNo:
        // The changes are dropped as the user asked; the unlock reads the
        // file as it is.
        SetModified(false);
        break;
      default:
        return;
    }
  }
  LockNow();
}

void TfrmMain::LockNow() {
  FLocked = true;
  // A copied password must not outlast the sites it came from.
  SecretClipboard().ClearIfOurs();
  FLockedIndex = lbxSiteList->ItemIndex();
  edtFind->clear();  // what was looked for is not shown while locked
  lbxSiteList->Wipe();
  FSites->Wipe();
  FSession->Lock();
  WipeText(FArchivePW);
  ShowLocked(true);
  FAutoLock->Restart();
}

// Hides everything that shows sites and disables every command that could
// read or change the (now empty) archive; File > Exit and Help stay.
void TfrmMain::ShowLocked(bool locked) {
  if (locked) {
    FLockedWidgets.clear();
    QLayout* layout = centralWidget()->layout();
    for (int i = 0; i < layout->count(); ++i) {
      QWidget* widget = layout->itemAt(i)->widget();
      if (!widget || widget == pnlLocked || widget->isHidden()) continue;
      widget->hide();
      FLockedWidgets << widget;
    }
  } else {
    for (const QPointer<QWidget>& widget : FLockedWidgets)
      if (widget) widget->show();
    FLockedWidgets.clear();
  }
  pnlLocked->setVisible(locked);
  UpdateTitle();
  if (locked) {
    FLockedCommands.clear();
    for (QMenu* menu : {mmiFile, mmiEdit, mmiTools}) {
      for (QAction* action : menu->findChildren<QAction*>()) {
        if (!action->isEnabled() || action->objectName() == "mmiExit" ||
            action == mmiFile->menuAction())
          continue;
        action->setEnabled(false);
        FLockedCommands << action;
      }
    }
    pnlLocked->Start(ArchivePath());
  } else {
    for (const QPointer<QAction>& action : FLockedCommands)
      if (action) action->setEnabled(true);
    FLockedCommands.clear();
    lbxSiteList->setFocus();
  }
}

void TfrmMain::Unlock(const QString& password) {
  if (!FLocked) return;
  const QString path = ArchivePath();
  std::optional<TEncryptionCheck> check;
  {
    // A wrong password goes back to the lock panel, not to a new archive.
    FReadingOther = true;
    const auto restore = qScopeGuard([this] { FReadingOther = false; });
    TMemberRead read = ReadDataMember(path, [&](TZipReader& reader, TMemoryStream& buffer) {
      TSessionRead opened = FSession->Unlock(TSecretBytes(ToBytes(password)), reader, buffer);
      check = opened.check;
      return std::move(opened.found);
    });
    if (FReadAbandoned) {
      pnlLocked->ShowWrongPassword();
      return;
    }
    FArchivePW = password;
    ShowRead(path, read, *check);
  }
  FWatch->Watch(path);
  FLocked = false;
  ShowLocked(false);
  FillSiteList();
  if (FLockedIndex >= 0 && FLockedIndex < lbxSiteList->Count())
    lbxSiteList->SetItemIndex(FLockedIndex);
  SetModified(false);
  UpdateLockCommand();
  FAutoLock->Restart();
}

void TfrmMain::mmiOptionsClick() {
  TOptions options = ReadOptions();
  if (ExecuteOptions(options) != mrOk) return;
  WriteOptions(options);
}
