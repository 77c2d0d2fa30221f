#pragma once
// Pieces the two archive password prompts share.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "forms/form_style.h"

namespace password_box {

inline const QString kCaption = QStringLiteral("Vornix password");

// A masked edit box that shows every typed character as "*".
inline QLineEdit* MaskedEdit(QWidget* parent, const char* name, int left, int top) {
  auto* edit = form_style::Place<QLineEdit>(parent, name, left, top, 202, 21);
  edit->setEchoMode(QLineEdit::Password);
  edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
  return edit;
}

// The OK (default) and Cancel buttons on one row.
inline void AddButtons(QWidget* parent, int top, QPushButton*& ok, QPushButton*& cancel) {
  ok = form_style::Place<QPushButton>(parent, "btnOK", 56, top, 75, 25);
  ok->setText(QStringLiteral("&OK"));
  ok->setDefault(true);
  cancel = form_style::Place<QPushButton>(parent, "btnCancel", 144, top, 75, 25);
  cancel->setText(QStringLiteral("&Cancel"));
}

}  // namespace password_box
