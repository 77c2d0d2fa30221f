#include "app/find_box.h"

#include <QKeyEvent>

TFindBox::TFindBox(QWidget* parent) : QLineEdit(parent) {
  setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
  setClearButtonEnabled(true);
}

void TFindBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      clear();
      emit Leave();
      return;
    case Qt::Key_Down:
      emit Leave();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit Accept();
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}
