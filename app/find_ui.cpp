// The main window's additions for everyday use: the find box in the
// toolbar, the copy commands after the first Edit items, the list's
// context menu and the clipboard countdown in the status bar.

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/clipboard_countdown.h"
#include "app/error_display.h"
#include "app/find_box.h"
#include "app/main_window.h"
#include "app/site_list_box.h"

namespace {
// The find box starts right of the last toolbar button (left 243, width 23).
constexpr int kFindLeft = 275;
}  // namespace

void TfrmMain::BuildFindAndCopy() {
  edtFind = new TFindBox;
  edtFind->setObjectName("edtFind");
  auto* toolbarLayout = new QHBoxLayout(pnlToolbar);
  toolbarLayout->setContentsMargins(kFindLeft, 0, 5, 0);
  toolbarLayout->addWidget(edtFind);
  connect(edtFind, &QLineEdit::textChanged, lbxSiteList, &TSiteListBox::SetFilter);
  BuildNoMatchNote();
  connect(edtFind, &TFindBox::Leave, this, [this] { lbxSiteList->setFocus(); });
  connect(edtFind, &TFindBox::Accept, this, &TfrmMain::FindAccept);
  auto* find = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
  find->setObjectName("scFind");
  connect(find, &QShortcut::activated, this, [this] {
    edtFind->setFocus(Qt::ShortcutFocusReason);
    edtFind->selectAll();
  });

  mmiEdit->addSeparator()->setObjectName("mmiEditSepCopy");
  auto add = [this](const char* name, const char* caption, Qt::Key key,
                    void (TfrmMain::*handler)()) {
    QAction* action = AddCommand(mmiEdit, name, caption, handler);
    action->setShortcut(QKeySequence(Qt::CTRL | key));
    return action;
  };
  QAction* copyUser = add("mmiCopyUser", "Copy &user name", Qt::Key_B, &TfrmMain::mmiCopyUserClick);
  QAction* copyPW = add("mmiCopyPW", "Copy &password", Qt::Key_C, &TfrmMain::mmiCopyPWClick);
  QAction* openURL = add("mmiOpenURL", "&Open URL", Qt::Key_U, &TfrmMain::mmiOpenURLClick);

  pmnSiteList = new QMenu(this);
  pmnSiteList->setObjectName("pmnSiteList");
  pmnSiteList->addActions({copyUser, copyPW, openURL});
  pmnSiteList->addSeparator();
  pmnSiteList->addActions(
      {mmiEdit->findChild<QAction*>("mmiModify"), mmiEdit->findChild<QAction*>("mmiDelete")});
  lbxSiteList->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lbxSiteList, &QWidget::customContextMenuRequested, this, &TfrmMain::ShowSiteMenu);

  auto* countdown = new TClipboardCountdown;
  countdown->setObjectName("lblClipboard");
  StatusBar->addPermanentWidget(countdown);
}

// Over the empty list while the find box finds nothing, so that an empty
// list is not taken for an empty archive.
void TfrmMain::BuildNoMatchNote() {
  lblNoMatch = new QLabel(QStringLiteral("No sites match"));
  lblNoMatch->setObjectName("lblNoMatch");
  lblNoMatch->setEnabled(false);  // drawn greyed, as a note rather than an entry
  auto* layout = new QVBoxLayout(lbxSiteList->viewport());
  layout->addWidget(lblNoMatch, 0, Qt::AlignTop | Qt::AlignHCenter);
  lblNoMatch->hide();
  const auto update = [this] {
    lblNoMatch->setVisible(!edtFind->text().isEmpty() && lbxSiteList->ShownCount() == 0);
  };
  connect(edtFind, &QLineEdit::textChanged, this, update);
  QAbstractItemModel* shown = lbxSiteList->model();
  connect(shown, &QAbstractItemModel::rowsInserted, this, update);
  connect(shown, &QAbstractItemModel::rowsRemoved, this, update);
  connect(shown, &QAbstractItemModel::modelReset, this, update);
  connect(shown, &QAbstractItemModel::layoutChanged, this, update);
}

// Enter in the find box: a single site found is opened in the editor;
// with more, the user goes on choosing in the list.
void TfrmMain::FindAccept() {
  if (lbxSiteList->ShownCount() == 1) {
    RunCommand(&TfrmMain::mmiModifyClick);
    return;
  }
  lbxSiteList->setFocus();
}

// The menu acts on the entry under the mouse, which is selected first.
void TfrmMain::ShowSiteMenu(const QPoint& pos) {
  const QModelIndex under = lbxSiteList->indexAt(pos);
  if (under.isValid()) {
    lbxSiteList->selectionModel()->setCurrentIndex(under, QItemSelectionModel::ClearAndSelect);
  }
  pmnSiteList->popup(lbxSiteList->viewport()->mapToGlobal(pos));
}
