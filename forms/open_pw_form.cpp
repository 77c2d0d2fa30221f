#include "forms/open_pw_form.h"

#include <QLabel>

#include "forms/password_box.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"

using form_style::Place;

TfrmOpenPW::TfrmOpenPW(QWidget* parent) : QDialog(parent) {
  form_style::ApplyDialogLook(this, QStringLiteral("TfrmOpenPW"), password_box::kCaption);
  setFixedSize(241, 117);
  lblPW = Place<QLabel>(this, "lblPW", 16, 16, 0, 0);
  lblPW->setText(QStringLiteral("Enter password"));
  lblPW->adjustSize();
  edtPW = password_box::MaskedEdit(this, "edtPW", 16, 32);
  lblPW->setBuddy(edtPW);
  password_box::AddButtons(this, 72, btnOK, btnCancel);
  setTabOrder(edtPW, btnOK);
  setTabOrder(btnOK, btnCancel);
  edtPW->setFocus();
  connect(btnOK, &QPushButton::clicked, this, &TfrmOpenPW::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmOpenPW::btnCancelClick);
}

void TfrmOpenPW::showEvent(QShowEvent* event) {
  form_style::CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TfrmOpenPW::reject() { btnCancelClick(); }

void TfrmOpenPW::btnOKClick() {
  if (edtPW->text().isEmpty()) {
    MsgDlg().ShowWarning(QStringLiteral("Please a password"));
    edtPW->setFocus(Qt::OtherFocusReason);
    return;
  }
  FPassword = edtPW->text();
  done(mrOk);
}

void TfrmOpenPW::btnCancelClick() { done(mrCancel); }
