#include "app/lock_panel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "support/secret_text.h"

namespace {
const char kLockedTitle[] = "This archive is locked.";
const char kWrongPassword[] = "Wrong password. Try again.";
}  // namespace

TLockPanel::TLockPanel(QWidget* parent)
    : QWidget(parent),
      lblLockedPath(new QLabel),
      edtUnlockPW(new QLineEdit),
      lblUnlockError(new QLabel) {
  setObjectName("pnlLocked");
  auto* title = new QLabel(kLockedTitle);
  title->setObjectName("lblLocked");
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  lblLockedPath->setObjectName("lblLockedPath");
  lblLockedPath->setTextFormat(Qt::PlainText);
  lblLockedPath->setWordWrap(true);
  lblLockedPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
  edtUnlockPW->setObjectName("edtUnlockPW");
  edtUnlockPW->setEchoMode(QLineEdit::Password);
  lblUnlockError->setObjectName("lblUnlockError");
  lblUnlockError->setTextFormat(Qt::PlainText);
  auto* unlock = new QPushButton("Unlock");
  unlock->setObjectName("btnUnlock");

  auto* form = new QFormLayout;
  form->addRow("Password:", edtUnlockPW);
  auto* layout = new QVBoxLayout(this);
  layout->addStretch(1);
  layout->addWidget(title);
  layout->addWidget(lblLockedPath);
  layout->addLayout(form);
  layout->addWidget(lblUnlockError);
  layout->addWidget(unlock, 0, Qt::AlignRight);
  layout->addStretch(2);

  connect(edtUnlockPW, &QLineEdit::returnPressed, this, &TLockPanel::Submit);
  connect(unlock, &QPushButton::clicked, this, &TLockPanel::Submit);
}

void TLockPanel::Start(const QString& archivePath) {
  lblLockedPath->setText(archivePath);
  lblUnlockError->clear();
  ClearPassword();
  edtUnlockPW->setFocus();
}

void TLockPanel::ShowWrongPassword() {
  lblUnlockError->setText(kWrongPassword);
  ClearPassword();
  edtUnlockPW->setFocus();
}

void TLockPanel::ClearPassword() {
  // The line edit's own buffer cannot be reached; replacing its text with
  // as many blanks as it held is the closest overwrite it offers.
  edtUnlockPW->setText(QString(edtUnlockPW->text().size(), QChar(u' ')));
  edtUnlockPW->clear();
}

void TLockPanel::Submit() {
  QString password = edtUnlockPW->text();
  ClearPassword();
  emit UnlockRequested(password);
  WipeText(password);
}
