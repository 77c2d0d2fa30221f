#include "forms/save_pw_form.h"

#include <QLabel>

#include "forms/password_box.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"

using form_style::Place;

namespace {

QLabel* Caption(QWidget* parent, const char* name, const QString& text, int top) {
  auto* label = Place<QLabel>(parent, name, 16, top, 0, 0);
  label->setText(text);
  label->adjustSize();
  return label;
}

}  // namespace

TfrmSavePW::TfrmSavePW(QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, QStringLiteral("TfrmSavePW"), password_box::kCaption);
  setFixedSize(241, 170);
  lblPW = Caption(this, "lblPW", QStringLiteral("New password"), 16);
  edtPW = password_box::MaskedEdit(this, "edtPW", 16, 32);
  lblPW->setBuddy(edtPW);
  lblConfirm = Caption(this, "lblConfirm", QStringLiteral("Confirm password"), 72);
  edtConfirm = password_box::MaskedEdit(this, "edtConfirm", 16, 88);
  lblConfirm->setBuddy(edtConfirm);
  password_box::AddButtons(this, 128, btnOK, btnCancel);
  setTabOrder(edtPW, edtConfirm);
  setTabOrder(edtConfirm, btnOK);
  setTabOrder(btnOK, btnCancel);
  edtPW->setFocus();
  connect(btnOK, &QPushButton::clicked, this, &TfrmSavePW::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmSavePW::btnCancelClick);
}

void TfrmSavePW::showEvent(QShowEvent* event) {
  form_style::CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TfrmSavePW::reject() { btnCancelClick(); }

void TfrmSavePW::btnOKClick() {
  if (edtPW->text().isEmpty()) {
    MsgDlg().ShowWarning(QStringLiteral("Please a password"));
    edtPW->setFocus(Qt::OtherFocusReason);
    return;
  }
  // Exact comparison: letter case and blanks count.
  if (edtPW->text() != edtConfirm->text()) {
    MsgDlg().ShowWarning(QStringLiteral("New password and confirmation must be the same"));
    edtPW->setFocus(Qt::OtherFocusReason);
    return;
  }
  FPassword = edtPW->text();
  done(mrOk);
}

void TfrmSavePW::btnCancelClick() { done(mrCancel); }
