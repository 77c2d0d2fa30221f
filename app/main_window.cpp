// The main window: construction, form events, the modified state, the list
// box operations and the edit commands.

#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include "app/app_texts.h"
#include "app/archive_watch.h"
#include "app/encryption_label.h"
#include "app/error_display.h"
#include "app/path_label.h"
#include "app/site_list_box.h"
#include "app/window_title.h"
#include "archive/archive_session.h"
#include "archive/streams.h"
#include "archive/zip/zip_engine.h"
#include "core/pw_list.h"
#include "forms/password_dialogs.h"
#include "forms/site_dialog.h"
#include "generator/gen_pw_dialog.h"
#include "generator/random_source.h"
#include "support/form_rtns.h"
#include "support/icons.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"
#include "support/outer_size_fixer.h"
#include "support/state.h"
#include "support/text_convert.h"

namespace {
const char kPlacementName[] = "TfrmMain";
const char kDeleteQuestion[] = "Delete selected site?";
}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent),
      FSession(std::make_unique<TArchiveSession>([] { return SettingsStorage(); })),
      FSites(std::make_unique<TqelPwList>()),
      FWatch(new TArchiveWatch(this)),
      FOpenPasswordPrompt(ExecuteOpenPW) {
  setObjectName("TfrmMain");
  setWindowTitle(MainWindowTitle({}, false));
  setWindowIcon(VornixIcon(IconRole::App));
  setFont(QFont("Verdana", 8));
  BuildMenus();
  BuildToolbar();
  BuildListAndStatusBar();
  BuildConflictBar();
  BuildLock();
  BuildFindAndCopy();
  BuildGlance();
  lblEncryption->ShowOnDisk(std::nullopt, WriteEncryption());
  connect(FWatch, &TArchiveWatch::Touched, this, &TfrmMain::ArchiveTouched);
  SetModified(false);
  setMinimumSize(350, 350);
  // The window's place and size count the frame as well.
  move(379, 295);
  SetOuterSize(this, QSize(440, 398));
  lbxSiteList->setFocus();
  RunGuarded([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
  RunGuarded([this] { FormDestroy(); });
}

void TfrmMain::SetOpenPasswordPrompt(PasswordPrompt prompt) {
  FOpenPasswordPrompt = prompt ? std::move(prompt) : PasswordPrompt(ExecuteOpenPW);
}

// ---- form events ----

void TfrmMain::FormCreate() {
  SeedRandom();
  State().UseIni = TqelState::HasUseIniSwitch(QCoreApplication::arguments());
  State().Load();
  FormRtn().SetPlacement(this, State().GetValue(kPlacementName));
  State().LoadReopenMenu(mmiReopen, ReopenHandler());
  ApplyGlanceSettings();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  // Queued so that the window is on the screen before a password prompt
  // for the command-line archive appears over it.
  QMetaObject::invokeMethod(
      this, [this] { RunGuarded([this] { FormShow(); }); }, Qt::QueuedConnection);
}

void TfrmMain::FormShow() {
  mmiFileNewClick();
  OpenCommandLineArchive(QCoreApplication::arguments().mid(1));
  UpdateLockCommand();
}

// Closing offers to save; the window stays open only when saving fails, so
// that nothing is lost.
void TfrmMain::closeEvent(QCloseEvent* event) {
  try {
    if (IsModified() && MsgDlg().IsYes(kSaveQuestion)) {
      mmiFileSaveClick();
      // Cancelled at the outside-change question: the window stays open
      // with its changes.
      if (FSaveCancelled) {
        event->ignore();
        return;
      }
    }
    event->accept();
  } catch (const std::exception& error) {
    event->ignore();
    ShowException(error);
  }
}

void TfrmMain::FormDestroy() {
  if (FDestroyed) return;
  FDestroyed = true;
  State().SetValue(kPlacementName, FormRtn().GetPlacement(this));
  State().StoreReopenMenu(mmiReopen);
  State().Save();
  mmiFileCloseClick();
  FSites.reset();
}

// ---- state kept in controls ----

QString TfrmMain::ArchivePath() const { return FArchivePath; }

void TfrmMain::SetArchivePath(const QString& path) {
  FArchivePath = path;
  FSession->SetPath(ToFileName(path));
  lblStatusText->ShowPath(path);
  UpdateTitle();
}

bool TfrmMain::IsModified() const { return mmiFileSave->isEnabled(); }

void TfrmMain::SetModified(bool flag) {
  mmiFileSave->setEnabled(flag);
  spbFileSave->setEnabled(flag);
  UpdateTitle();
  if (flag) SaveChangeSoon();
}

void TfrmMain::ClearSiteList() { lbxSiteList->Clear(); }

void TfrmMain::FillSiteList() {
  // The list box holds the only copy of the sites from here on; FSites is
  // rebuilt from it before each save.
  lbxSiteList->AddLines(FSites->TakeLines());
  lbxSiteList->SetItemIndex(0);
}

// ---- edit commands ----

void TfrmMain::mmiAddClick() {
  auto rec = std::make_unique<TqelPwRec>();
  if (ExecuteSite(*rec) != mrOk) return;  // the unused record is freed here
  lbxSiteList->SetItemIndex(lbxSiteList->Add(std::move(rec)));
  SetModified(true);
}

void TfrmMain::mmiModifyClick() {
  const int index = lbxSiteList->ItemIndex();
  if (index < 0) return;
  if (ExecuteSite(lbxSiteList->Record(index)) != mrOk) return;
  // The same record moves to the sorted place of its (possibly new) name.
  lbxSiteList->SetItemIndex(lbxSiteList->Add(lbxSiteList->Take(index)));
  SetModified(true);
}

void TfrmMain::mmiDeleteClick() {
  const int index = lbxSiteList->ItemIndex();
  if (index < 0) return;
  if (MsgDlg().IsNo(kDeleteQuestion)) return;
  lbxSiteList->Take(index);  // frees the record
  lbxSiteList->SetItemIndex(0);
  SetModified(true);
}

void TfrmMain::lbxSiteListKeyPress(QChar key) {
  if (key == QChar('\r')) mmiModifyClick();
}

void TfrmMain::mmiGenPWClick() {
  QString password;
  ExecuteGenPW(password);
}

void TfrmMain::mmiExitClick() { close(); }
