#include "app/conflict_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TConflictBar::TConflictBar(QWidget* parent) : QFrame(parent), text_(new QLabel) {
  setObjectName("pnlConflictCopy");
  setFrameShape(QFrame::StyledPanel);
  text_->setObjectName("lblConflictCopy");
  text_->setWordWrap(true);
  auto* merge = new QPushButton("Merge");
  merge->setObjectName("btnMergeConflictCopy");
  auto* dismiss = new QPushButton("Not now");
  dismiss->setObjectName("btnDismissConflictCopy");
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(text_, 1);
  layout->addWidget(merge);
  layout->addWidget(dismiss);
  connect(merge, &QPushButton::clicked, this, [this] {
    hide();
    emit MergeAsked(copy_);
  });
  connect(dismiss, &QPushButton::clicked, this, &QWidget::hide);
  hide();
}

void TConflictBar::Offer(const QString& name) {
  copy_ = name;
  text_->setText("A sync service left another version of this archive beside it: " + name +
                 ". Merge its changes in?");
  show();
}
