// Copy one-time code and the password report: the selected site's current
// code onto the clipboard like a password, and the report whose rows open
// their sites in the editor.

#include <QString>

#include "app/error_display.h"
#include "app/find_box.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "core/pw_rec.h"
#include "core/totp.h"
#include "forms/password_report_dialog.h"
#include "support/secret_clipboard.h"
#include "support/text_convert.h"

void TfrmMain::mmiCopyTotpClick() {
  const TqelPwRec* rec = SelectedRecord();
  if (rec == nullptr) return;
  const TSecretBytes notes(rec->Note());
  std::optional<TTotpParams> params;
  try {
    params = TotpFromNotes(notes.view());
  } catch (const ETotpError& error) {
    ShowErrorText(ToQString(rec->Site()) + ": " + QString::fromUtf8(error.what()));
    return;
  }
  if (!params) {
    ShowErrorText(ToQString(NoTotpText(rec->Site())));
    return;
  }
  SecretClipboard().Copy(QString::fromStdString(TotpCode(*params, UnixNow())));
}

void TfrmMain::mmiPasswordReportClick() {
  std::vector<const TqelPwRec*> sites;
  for (int row = 0; row < lbxSiteList->Count(); ++row) sites.push_back(&lbxSiteList->Record(row));
  const int chosen = ExecutePasswordReport(sites, FChangeDates);
  if (chosen < 0) return;
  // A site the find box hides cannot be selected.
  edtFind->clear();
  lbxSiteList->SetItemIndex(chosen);
  mmiModifyClick();
}
