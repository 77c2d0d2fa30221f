#include "generator/spin_edit.h"

int SpinEditValue(const QString& text, int minimum) {
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  return ok ? number : minimum;
}

QValidator::State TSpinEdit::validate(QString&, int&) const {
  // Every text is taken: valueFromText gives it a value, and leaving the
  // box rewrites it from that value.
  return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString& text) const { return SpinEditValue(text, minimum()); }
