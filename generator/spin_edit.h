#pragma once
// A spin box whose text is free while it has the focus, as the generator's
// length box has always behaved: text that is not a whole number counts as the
// minimum, and the text is brought into the range when the box loses the
// focus (as it is when stepped or set). A plain spin box refuses such
// text as it is typed and falls back to the previous value instead.

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
  Q_OBJECT

 public:
  using QSpinBox::QSpinBox;

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  int valueFromText(const QString& text) const override;
};

// The value of a spin edit's text: the whole number it holds, or minimum
// when it holds none (the spin box then bounds it to its range).
int SpinEditValue(const QString& text, int minimum);
