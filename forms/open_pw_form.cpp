#include "forms/open_pw_form.h"

#include <QLineEdit>
#include <QPushButton>

TfrmOpenPW::TfrmOpenPW(QWidget* parent)
    : TPasswordPrompt(parent, QStringLiteral("TfrmOpenPW"), QStringLiteral("Enter password")) {
  setFixedSize(241, 117);
  AddButtons(72);
  setTabOrder(edtPW, btnOK);
  setTabOrder(btnOK, btnCancel);
  edtPW->setFocus();
}
