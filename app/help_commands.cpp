// The Help menu: web pages of the maker opened in the desktop's browser or
// mail program, and the About box.

#include "app/main_window.h"
#include "forms/about_dialog.h"
#include "support/shell_open.h"
#include "support/version_info.h"

void TfrmMain::ShellOpen(const QString& address) {
  if (address.isEmpty()) return;
  ::ShellOpen(address);
}

void TfrmMain::mmiVerChkClick() {
  const TqelVersionInfo version;
  ShellOpen(VersionCheckAddress(MakerWebHost(), version.FileVersion()));
}

void TfrmMain::mmiWebClick() { ShellOpen("http://" + MakerWebHost() + "/"); }

void TfrmMain::mmiEmailClick() { ShellOpen("mailto:" + MakerEmail()); }

void TfrmMain::mmiAboutClick() { ExecuteAbout(); }
