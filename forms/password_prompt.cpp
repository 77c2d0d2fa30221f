#include "forms/password_prompt.h"

#include <QLabel>

#include "forms/password_box.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"

TPasswordPrompt::TPasswordPrompt(QWidget* parent, const QString& objectName, const QString& caption)
    : QDialog(parent) {
  form_style::ApplyDialogLook(this, objectName, password_box::kCaption);
  lblPW = form_style::Place<QLabel>(this, "lblPW", 16, 16, 0, 0);
  lblPW->setText(caption);
  lblPW->adjustSize();
  edtPW = password_box::MaskedEdit(this, "edtPW", 16, 32);
  lblPW->setBuddy(edtPW);
}

void TPasswordPrompt::AddButtons(int top) {
  password_box::AddButtons(this, top, btnOK, btnCancel);
  connect(btnOK, &QPushButton::clicked, this, &TPasswordPrompt::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TPasswordPrompt::btnCancelClick);
}

bool TPasswordPrompt::PasswordAcceptable() {
  return !edtPW->text().isEmpty() || Refuse(QStringLiteral("Please a password"));
}

bool TPasswordPrompt::Refuse(const QString& warning) {
  MsgDlg().ShowWarning(warning);
  edtPW->setFocus(Qt::OtherFocusReason);
  return false;
}

void TPasswordPrompt::showEvent(QShowEvent* event) {
  form_style::CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TPasswordPrompt::reject() { btnCancelClick(); }

void TPasswordPrompt::btnOKClick() {
  if (!PasswordAcceptable()) return;
  FPassword = edtPW->text();
  done(mrOk);
}

void TPasswordPrompt::btnCancelClick() { done(mrCancel); }
