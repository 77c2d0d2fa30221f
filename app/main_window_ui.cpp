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

#include "app/error_display.h"
#include "app/main_window.h"
#include "app/path_label.h"
#include "app/reopen_list.h"
#include "app/site_list_box.h"
#include "support/icons.h"

namespace {

constexpr int kNoIcon = -1;

struct MenuCommand {
  const char* name;
  const char* caption;
  QKeySequence shortcut;
  int icon;  // index into the main image list, or kNoIcon
  void (TfrmMain::*handler)();
};

struct SpeedButton {
  const char* name;
  int left;
  const char* hint;
  int icon;
  void (TfrmMain::*handler)();
};

// The toolbar's flat buttons, all at top 5 and 23 by 22 pixels.
constexpr int kButtonTop = 5;
constexpr int kButtonWidth = 23;
constexpr int kButtonHeight = 22;

QIcon ImageListIcon(int index) { return VornixIcon(static_cast<IconRole>(index)); }

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
  mmiFile = addMenu("mmiFile", "File");
  mmiEdit = addMenu("mmiEdit", "Edit");
  mmiTools = addMenu("mmiTools", "Tools");
  mmiHelp = addMenu("mmiHelp", "Help");

  auto add = [this](QMenu* menu, const MenuCommand& command) {
    QAction* action = AddCommand(menu, command.name, command.caption, command.handler);
    action->setShortcut(command.shortcut);
    if (command.icon != kNoIcon) action->setIcon(ImageListIcon(command.icon));
    return action;
  };
  add(mmiFile,
      {"mmiFileNew", "New", QKeySequence(Qt::CTRL | Qt::Key_N), 4, &TfrmMain::mmiFileNewClick});
  add(mmiFile, {"mmiFileOpen", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O), 5,
                &TfrmMain::mmiFileOpenClick});
  mmiReopen = AddReopenMenu(mmiFile, "mmiReopen", "Reopen");
  mmiFileSave = add(mmiFile, {"mmiFileSave", "Save", QKeySequence(Qt::CTRL | Qt::Key_S), 6,
                              &TfrmMain::mmiFileSaveClick});
  add(mmiFile, {"mmiFileSaveAs", "Save As...", {}, 7, &TfrmMain::mmiFileSaveAsClick});
  add(mmiFile, {"mmiFileClose", "Close", {}, 8, &TfrmMain::mmiFileCloseClick});
  mmiFile->addSeparator()->setObjectName("mmiFileSep02");
  add(mmiFile, {"mmiNewPW", "New archive password...", {}, kNoIcon, &TfrmMain::mmiNewPWClick});
  add(mmiFile, {"mmiImport", "Import...", {}, kNoIcon, &TfrmMain::mmiImportClick});
  mmiFile->addSeparator()->setObjectName("mmiFileSep01");
  add(mmiFile,
      {"mmiExit", "Exit", QKeySequence(Qt::ALT | Qt::Key_F4), kNoIcon, &TfrmMain::mmiExitClick});
  mmiFile->addSeparator()->setObjectName("mmiFileSepCsv");
  add(mmiFile,
      {"mmiImportCsv", "Import from CSV...", {}, kNoIcon, &TfrmMain::mmiImportCsvClick});
  add(mmiFile, {"mmiExportCsv", "Export to CSV...", {}, kNoIcon, &TfrmMain::mmiExportCsvClick});

  add(mmiEdit,
      {"mmiAdd", "Add a site", QKeySequence(Qt::CTRL | Qt::Key_A), 0, &TfrmMain::mmiAddClick});
  add(mmiEdit, {"mmiModify", "Modify a site", QKeySequence(Qt::CTRL | Qt::Key_M), 1,
                &TfrmMain::mmiModifyClick});
  add(mmiEdit,
      {"mmiDelete", "Delete a site", QKeySequence(Qt::Key_Delete), 2, &TfrmMain::mmiDeleteClick});

  add(mmiTools, {"mmiGenPW", "Generate a password...", QKeySequence(Qt::CTRL | Qt::Key_G), 3,
                 &TfrmMain::mmiGenPWClick});
  add(mmiTools, {"mmiShortcut",
                 "Create desktop shortcut for this archive",
                 {},
                 9,
                 &TfrmMain::mmiShortcutClick});

  add(mmiHelp,
      {"mmiVerChk", "Check for new Vornix release", {}, kNoIcon, &TfrmMain::mmiVerChkClick});
  add(mmiHelp, {"mmiWeb", "Visit Vornix web site", {}, kNoIcon, &TfrmMain::mmiWebClick});
  add(mmiHelp, {"mmiEmail", "Email the developer", {}, kNoIcon, &TfrmMain::mmiEmailClick});
  add(mmiHelp, {"mmiAbout", "About...", {}, kNoIcon, &TfrmMain::mmiAboutClick});
}

QToolButton* TfrmMain::AddSpeedButton(const char* name, int left, const QString& hint, int icon,
                                      void (TfrmMain::*handler)()) {
  auto* button = new QToolButton(pnlToolbar);
  button->setObjectName(name);
  button->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
  button->setAutoRaise(true);  // flat until the mouse is over it
  button->setFocusPolicy(Qt::NoFocus);
  button->setIcon(ImageListIcon(icon));
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
      {"spbFileNew", 5, "New archive", 4, &TfrmMain::mmiFileNewClick},
      {"spbFileOpen", 28, "Open archive...", 5, &TfrmMain::mmiFileOpenClick},
      {"spbFileSave", 51, "Save archive", 6, &TfrmMain::mmiFileSaveClick},
      {"spbSaveAs", 74, "Save archive as...", 7, &TfrmMain::mmiFileSaveAsClick},
      {"spbFileClose", 97, "Close archive", 8, &TfrmMain::mmiFileCloseClick},
      {"spbAdd", 135, "Add a site", 0, &TfrmMain::mmiAddClick},
      {"spbModify", 159, "Modify selected site", 1, &TfrmMain::mmiModifyClick},
      {"spbDelete", 183, "Delete selected site", 2, &TfrmMain::mmiDeleteClick},
      {"spbGenPW", 220, "Generate a password", 3, &TfrmMain::mmiGenPWClick},
      {"spbShortcut", 243, "Create desktop shortcut for this archive", 9,
       &TfrmMain::mmiShortcutClick},
  };
  for (const SpeedButton& b : buttons) {
    QToolButton* button = AddSpeedButton(b.name, b.left, b.hint, b.icon, b.handler);
    if (QLatin1String(b.name) == QLatin1String("spbFileSave")) spbFileSave = button;
  }
  AddSeparator("bvlSep01", 126);
  AddSeparator("bvlSep02", 211);
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
  lblEncryption = new QLabel;
  lblEncryption->setObjectName("lblEncryption");
  lblEncryption->setTextFormat(Qt::PlainText);
  lblEncryption->setToolTip("Encryption of the archive");
  StatusBar->addPermanentWidget(lblEncryption);
  setStatusBar(StatusBar);
}
