// Building the main window's controls: menus, toolbar, list box, status bar.

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "app/encryption_label.h"
#include "app/error_display.h"
#include "app/main_window.h"
#include "app/path_label.h"
#include "app/reopen_list.h"
#include "app/site_list_box.h"
#include "app/window_title.h"
#include "support/icons.h"

namespace {

struct MenuCommand {
  const char* name;
  const char* caption;
  QKeySequence shortcut;
  std::optional<IconRole> icon;
  void (TfrmMain::*handler)();
};

struct SpeedButton {
  const char* name;
  int left;
  const char* hint;
  IconRole icon;
  void (TfrmMain::*handler)();
  QToolButton** keep = nullptr;  // where the window keeps the button, if it does
};

// The toolbar's flat buttons, all at top 5 and 23 by 22 pixels.
constexpr int kButtonTop = 5;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;

}  // namespace

void TfrmMain::RunCommand(void (TfrmMain::*handler)()) {
  RunGuarded([this, handler] { (this->*handler)(); });
  // The archive or its password may have changed.
  UpdateLockCommand();
}

std::function<void(QAction*)> TfrmMain::ReopenHandler() {
  return [this](QAction* entry) {
    RunGuarded([this, entry] { ReopenClick(entry); });
    UpdateLockCommand();
  };
}

QAction* TfrmMain::AddCommand(QMenu* menu, const char* name, const QString& caption,
                              void (TfrmMain::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
  return action;
}

// Every menu title and fixed item carries a mnemonic ("&" before the letter
// Alt selects); the Reopen entries show their paths as stored instead
// (support/state.h doubles their "&").
void TfrmMain::BuildMenus() {
  QMenuBar* mmMain = menuBar();
  mmMain->setObjectName("mmMain");
  auto addMenu = [mmMain](const char* name, const QString& title) {
    QMenu* menu = mmMain->addMenu(title);
    menu->setObjectName(name);
    // Separators are shown exactly as placed.
    menu->setSeparatorsCollapsible(false);
    return menu;
  };
  mmiFile = addMenu("mmiFile", "&File");
  mmiEdit = addMenu("mmiEdit", "&Edit");
  mmiTools = addMenu("mmiTools", "&Tools");
  mmiHelp = addMenu("mmiHelp", "&Help");

  auto add = [this](QMenu* menu, const MenuCommand& command) {
    QAction* action = AddCommand(menu, command.name, command.caption, command.handler);
    action->setShortcut(command.shortcut);
    if (command.icon) action->setIcon(VornixIcon(*command.icon));
    return action;
  };
  add(mmiFile, {"mmiFileNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), IconRole::New,
                &TfrmMain::mmiFileNewClick});
  add(mmiFile, {"mmiFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), IconRole::Open,
                &TfrmMain::mmiFileOpenClick});
  mmiReopen = AddReopenMenu(mmiFile, "mmiReopen", "&Reopen");
  mmiFileSave = add(mmiFile, {"mmiFileSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S),
                              IconRole::Save, &TfrmMain::mmiFileSaveClick});
  add(mmiFile,
      {"mmiFileSaveAs", "Save &As...", {}, IconRole::SaveAs, &TfrmMain::mmiFileSaveAsClick});
  add(mmiFile, {"mmiFileClose", "&Close", {}, IconRole::Close, &TfrmMain::mmiFileCloseClick});
  mmiFile->addSeparator()->setObjectName("mmiFileSep02");
  add(mmiFile,
      {"mmiNewPW", "New archive &password...", {}, std::nullopt, &TfrmMain::mmiNewPWClick});
  add(mmiFile, {"mmiImport", "&Import...", {}, std::nullopt, &TfrmMain::mmiImportClick});
  add(mmiFile, {"mmiMergeArchive", "&Merge from archive...", {}, std::nullopt,
                &TfrmMain::mmiMergeArchiveClick});
  add(mmiFile,
      {"mmiImportCsv", "Import from CS&V...", {}, std::nullopt, &TfrmMain::mmiImportCsvClick});
  add(mmiFile,
      {"mmiExportCsv", "&Export to CSV...", {}, std::nullopt, &TfrmMain::mmiExportCsvClick});
  mmiFile->addSeparator()->setObjectName("mmiFileSep01");
  QAction* exit = add(mmiFile, {"mmiExit", "E&xit", QKeySequence(Qt::ALT | Qt::Key_F4),
                                std::nullopt, &TfrmMain::mmiExitClick});
  exit->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_Q)});

  add(mmiEdit, {"mmiAdd", "&Add a site", QKeySequence(Qt::CTRL | Qt::Key_A), IconRole::Add,
                &TfrmMain::mmiAddClick});
  add(mmiEdit, {"mmiModify", "&Modify a site", QKeySequence(Qt::CTRL | Qt::Key_M), IconRole::Modify,
                &TfrmMain::mmiModifyClick});
  add(mmiEdit, {"mmiDelete", "&Delete a site", QKeySequence(Qt::Key_Delete), IconRole::Delete,
                &TfrmMain::mmiDeleteClick});

  add(mmiTools, {"mmiGenPW", "&Generate a password...", QKeySequence(Qt::CTRL | Qt::Key_G),
                 IconRole::Generate, &TfrmMain::mmiGenPWClick});
  add(mmiTools, {"mmiShortcut",
                 "Create desktop &shortcut for this archive",
                 {},
                 IconRole::Shortcut,
                 &TfrmMain::mmiShortcutClick});

  add(mmiHelp,
      {"mmiVerChk", "&Check for new Vornix release", {}, std::nullopt, &TfrmMain::mmiVerChkClick});
  add(mmiHelp, {"mmiWeb", "&Visit Vornix web site", {}, std::nullopt, &TfrmMain::mmiWebClick});
  add(mmiHelp, {"mmiEmail", "&Email the developer", {}, std::nullopt, &TfrmMain::mmiEmailClick});
  add(mmiHelp, {"mmiAbout", "&About...", {}, std::nullopt, &TfrmMain::mmiAboutClick});
}

QToolButton* TfrmMain::AddSpeedButton(const char* name, int left, const QString& hint,
                                      IconRole icon, void (TfrmMain::*handler)()) {
  auto* button = new QToolButton(pnlToolbar);
  button->setObjectName(name);
  button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
  button->setAutoRaise(true);  // flat until the mouse is over it
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(VornixIcon(icon));
  button->setIconSize(QSize(16, 16));
  button->setToolTip(hint);
  connect(button, &QToolButton::clicked, this, [this, handler] { RunCommand(handler); });
  return button;
}

void TfrmMain::AddSeparator(const char* name, int left) {
  auto* bevel = new QFrame(pnlToolbar);
  bevel->setObjectName(name);
  bevel->setFrameShape(QFrame::VLine);
  bevel->setFrameShadow(QFrame::Raised);
  bevel->setGeometry(left, 1, 3, 28);
}

void TfrmMain::BuildToolbar() {
  pnlToolbar = new QFrame;
  pnlToolbar->setObjectName("pnlToolbar");
  pnlToolbar->setFixedHeight(31);
  pnlToolbar->setFrameShape(QFrame::Panel);
  pnlToolbar->setFrameShadow(QFrame::Sunken);

  const SpeedButton buttons[] = {
      {"spbFileNew", 5, "New archive", IconRole::New, &TfrmMain::mmiFileNewClick},
      {"spbFileOpen", 28, "Open archive...", IconRole::Open, &TfrmMain::mmiFileOpenClick},
      {"spbFileSave", 51, "Save archive", IconRole::Save, &TfrmMain::mmiFileSaveClick,
       &spbFileSave},
      {"spbSaveAs", 74, "Save archive as...", IconRole::SaveAs, &TfrmMain::mmiFileSaveAsClick},
      {"spbFileClose", 97, "Close archive", IconRole::Close, &TfrmMain::mmiFileCloseClick},
      {"spbAdd", 135, "Add a site", IconRole::Add, &TfrmMain::mmiAddClick},
      {"spbModify", 159, "Modify selected site", IconRole::Modify, &TfrmMain::mmiModifyClick},
      {"spbDelete", 183, "Delete selected site", IconRole::Delete, &TfrmMain::mmiDeleteClick},
      {"spbGenPW", 220, "Generate a password", IconRole::Generate, &TfrmMain::mmiGenPWClick},
      {"spbShortcut", 243, "Create desktop shortcut for this archive", IconRole::Shortcut,
       &TfrmMain::mmiShortcutClick},
  };
  for (const SpeedButton& b : buttons) {
    QToolButton* button = AddSpeedButton(b.name, b.left, b.hint, b.icon, b.handler);
    if (b.keep) *b.keep = button;
  }
  AddSeparator("bvlSep01", 126);
  AddSeparator("bvlSep02", 211);
}

void TfrmMain::UpdateTitle() {
  setWindowTitle(MainWindowTitle(ArchivePath(), FLocked));
  // Only a title with the placeholder can show the mark.
  setWindowModified(windowTitle().contains(QStringLiteral("[*]")) && IsModified());
}

void TfrmMain::BuildListAndStatusBar() {
  lbxSiteList = new TSiteListBox;
  lbxSiteList->setObjectName("lbxSiteList");
  connect(lbxSiteList, &TSiteListBox::KeyPress, this,
          [this](QChar key) { RunGuarded([this, key] { lbxSiteListKeyPress(key); }); });
  connect(lbxSiteList, &TSiteListBox::DblClick, this,
          [this] { RunCommand(&TfrmMain::mmiModifyClick); });

  auto* client = new QWidget;
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pnlToolbar);
  layout->addWidget(lbxSiteList, 1);
  setCentralWidget(client);

  StatusBar = new QStatusBar;
  StatusBar->setObjectName("StatusBar");
  StatusBar->setMinimumHeight(19);
  // A label holds the path: the bar's own message line is cleared whenever
  // a menu item's status tip passes over it.
  lblStatusText = new TPathLabel;
  lblStatusText->setObjectName("StatusBarText");
  StatusBar->addWidget(lblStatusText, 1);
  // The open archive's encryption, at the right beside the size grip.
  lblEncryption = new TEncryptionLabel;
  lblEncryption->setObjectName("lblEncryption");
  StatusBar->addPermanentWidget(lblEncryption);
  setStatusBar(StatusBar);
}
