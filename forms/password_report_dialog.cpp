#include "forms/password_report_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "core/pw_rec.h"
#include "forms/form_style.h"
#include "support/modal_result.h"
#include "support/text_convert.h"

namespace {

enum Column { kSiteColumn, kIssueColumn, kChangedColumn };

QString IssueCaption(const TReportRow& row) {
  const QString text = QString::fromUtf8(IssueText(row.issue).data(),
                                         static_cast<qsizetype>(IssueText(row.issue).size()));
  return row.issue == TPasswordIssue::Reused ? text + QStringLiteral(" (group %1)").arg(row.group)
                                             : text;
}

}  // namespace

TfrmPasswordReport::TfrmPasswordReport(const std::vector<const TqelPwRec*>& sites,
                                       const TChangeDateFn& dates, TChangeTime now,
                                       QWidget* parent)
    : QDialog(parent), tvwReport(new QTreeWidget), btnOpenSite(new QPushButton("&Open site")) {
  form_style::ApplyDialogLook(this, "frmPasswordReport", "Password report");
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  tvwReport->setObjectName("tvwReport");
  tvwReport->setRootIsDecorated(false);
  tvwReport->setHeaderLabels({"Site", "Problem", "Last change"});
  tvwReport->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  const std::vector<TReportRow> rows = MakePasswordReport(sites, dates, now);
  for (const TReportRow& row : rows) {
    auto* item = new QTreeWidgetItem(tvwReport);
    item->setText(kSiteColumn, ToQString(sites[row.index]->Site()));
    item->setText(kIssueColumn, IssueCaption(row));
    item->setText(kChangedColumn, ToQString(ChangeDateText(row.changed)));
    item->setData(kSiteColumn, Qt::UserRole, row.index);
  }
  if (tvwReport->topLevelItemCount() > 0) tvwReport->setCurrentItem(tvwReport->topLevelItem(0));
  connect(tvwReport, &QTreeWidget::itemActivated, this, &TfrmPasswordReport::OpenCurrent);

  auto* summary = new QLabel(rows.empty() ? QString::fromUtf8(kNoPasswordProblems)
                                          : QStringLiteral("%1 problems found.").arg(rows.size()));
  summary->setObjectName("lblReportSummary");
  btnOpenSite->setObjectName("btnOpenSite");
  btnOpenSite->setEnabled(!rows.empty());
  connect(btnOpenSite, &QPushButton::clicked, this, &TfrmPasswordReport::OpenCurrent);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setObjectName("btnClose");
  buttons->addButton(btnOpenSite, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(mrCancel); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary);
  layout->addWidget(tvwReport, 1);
  layout->addWidget(buttons);
  resize(480, 320);
}

void TfrmPasswordReport::OpenCurrent() {
  const QTreeWidgetItem* item = tvwReport->currentItem();
  if (item == nullptr) return;
  FChosen = item->data(kSiteColumn, Qt::UserRole).toInt();
  done(mrOk);
}

int ExecutePasswordReport(const std::vector<const TqelPwRec*>& sites, const TChangeDateFn& dates) {
  const std::unique_ptr<TfrmPasswordReport, form_style::DeleteLater> form(
      new TfrmPasswordReport(sites, dates, std::chrono::system_clock::now()));
  return form->exec() == mrOk ? form->Chosen() : -1;
}
