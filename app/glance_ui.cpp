// The window's additions for seeing a site at a glance: the View menu with
// the details pane beside the list, Edit > Copy one-time code and Tools >
// Password report. Also hands the automatic lock its save.

#include <QAction>
#include <QBoxLayout>
#include <QMenu>
#include <QMenuBar>

#include "app/auto_lock.h"
#include "app/details_pane.h"
#include "app/main_window.h"
#include "app/site_list_box.h"
#include "support/state.h"

namespace {
// "1" while the details pane is shown.
const char kDetailsShown[] = "TfrmMain.Details";
}  // namespace

void TfrmMain::BuildGlance() {
  // The list and the pane share the list's place, so that the lock hides
  // both with the list.
  auto* layout = qobject_cast<QBoxLayout*>(centralWidget()->layout());
  const int listAt = layout->indexOf(lbxSiteList);
  auto* sites = new QWidget;
  sites->setObjectName("pnlSites");
  auto* row = new QHBoxLayout(sites);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  layout->insertWidget(listAt, sites, 1);
  row->addWidget(lbxSiteList, 1);
  pnlDetails = new TDetailsPane;
  pnlDetails->hide();
  row->addWidget(pnlDetails);
  connect(pnlDetails, &TDetailsPane::OpenUrl, this, &TfrmMain::ShellOpen);
  // The selection, not the current index: a click moves the current index
  // before it selects.
  connect(lbxSiteList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &TfrmMain::RefreshDetails);
  const QAbstractItemModel* shown = lbxSiteList->model();
  connect(shown, &QAbstractItemModel::modelReset, this, &TfrmMain::RefreshDetails);
  connect(shown, &QAbstractItemModel::layoutChanged, this, &TfrmMain::RefreshDetails);
  connect(shown, &QAbstractItemModel::rowsRemoved, this, &TfrmMain::RefreshDetails);

  QMenu* mmiView = menuBar()->addMenu("&View");
  mmiView->setObjectName("mmiView");
  mmiDetails = AddCommand(mmiView, "mmiDetails", "&Details", &TfrmMain::mmiDetailsClick);
  mmiDetails->setCheckable(true);
  mmiDetails->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));

  QAction* copyTotp = new QAction("Copy one-&time code", this);
  copyTotp->setObjectName("mmiCopyTotp");
  copyTotp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  connect(copyTotp, &QAction::triggered, this, [this] { RunCommand(&TfrmMain::mmiCopyTotpClick); });
  QAction* openURL = mmiEdit->findChild<QAction*>("mmiOpenURL");
  mmiEdit->insertAction(openURL, copyTotp);
  pmnSiteList->insertAction(openURL, copyTotp);

  QAction* report = new QAction("Password &report...", this);
  report->setObjectName("mmiPasswordReport");
  connect(report, &QAction::triggered, this,
          [this] { RunCommand(&TfrmMain::mmiPasswordReportClick); });
  mmiTools->insertAction(mmiTools->findChild<QAction*>("mmiToolsSepLock"), report);

  FAutoLock->SetSaveFirst([this] { return SaveBeforeAutoLock(); });
}

// After the settings are read: the pane as the user left it. The window's
// saved size already has room for it.
void TfrmMain::ApplyGlanceSettings() {
  const bool shown = State().GetValue(kDetailsShown) == "1";
  mmiDetails->setChecked(shown);
  pnlDetails->setVisible(shown);
  RefreshDetails();
}

void TfrmMain::mmiDetailsClick() {
  const bool shown = mmiDetails->isChecked();
  if (shown == !pnlDetails->isHidden()) return;
  State().SetValue(kDetailsShown, shown ? "1" : "0");
  // The list keeps its width: the window grows by the pane and shrinks back.
  const int room = pnlDetails->width();
  pnlDetails->setVisible(shown);
  if (!isMaximized() && !isFullScreen()) resize(width() + (shown ? room : -room), height());
  RefreshDetails();
}

void TfrmMain::RefreshDetails() {
  if (!pnlDetails) return;
  pnlDetails->ShowSite(mmiDetails->isChecked() && !FLocked ? SelectedRecord() : nullptr);
}

void TfrmMain::SetChangeDates(TChangeDateFn dates) {
  FChangeDates = dates ? std::move(dates) : NoChangeDates();
  if (pnlDetails) pnlDetails->SetChangeDates(FChangeDates);
  RefreshDetails();
}
