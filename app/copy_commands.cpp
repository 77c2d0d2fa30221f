// The commands that hand the selected site's fields to other programs
// without opening the editor: copy the user name or the password, open the
// URL. With no site selected (nothing found) they do nothing. A user name
// is half of a login, so it goes on the clipboard like the password: kept
// out of clipboard histories and cleared after the same delay.

#include <QClipboard>
#include <QGuiApplication>
#include <QStatusBar>

#include "app/main_window.h"
#include "app/site_list_box.h"
#include "core/pw_rec.h"
#include "support/msg_dlg.h"
#include "support/secret_clipboard.h"
#include "support/shell_open.h"
#include "support/text_convert.h"

namespace {
constexpr int kOpeningMessageMs = 5000;
}  // namespace

TqelPwRec* TfrmMain::SelectedRecord() const {
  const int index = lbxSiteList->ItemIndex();
  return index >= 0 ? &lbxSiteList->Record(index) : nullptr;
}

void TfrmMain::mmiCopyUserClick() {
  const TqelPwRec* rec = SelectedRecord();
  if (rec == nullptr || rec->User().empty()) return;
  SecretClipboard().Copy(ToQString(rec->User()));
}

void TfrmMain::mmiCopyPWClick() {
  if (const TqelPwRec* rec = SelectedRecord()) SecretClipboard().Copy(ToQString(rec->PW()));
}

void TfrmMain::mmiOpenURLClick() {
  const TqelPwRec* rec = SelectedRecord();
  if (rec == nullptr || rec->URL().empty()) return;
  const QString url = ToQString(rec->URL());
  // The browser may take a while to appear: say that something happens.
  StatusBar->showMessage(QStringLiteral("Opening %1...").arg(url), kOpeningMessageMs);
  if (::ShellOpen(url)) return;
  StatusBar->clearMessage();
  MsgDlg().ShowError(
      QStringLiteral("Cannot open %1: the desktop has no program for this address.").arg(url));
}
