#pragma once
// The find box above the site list. It is an ordinary text field (Ctrl+A,
// Del and Ctrl+C act on its text while it has the focus); the keys that
// lead back to the list are reported for the window to act on.

#include <QLineEdit>

class TFindBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit TFindBox(QWidget* parent = nullptr);

 signals:
  // Esc (after emptying the box) or Down: the user goes back to the list.
  void Leave();
  // Enter: the user takes what was found.
  void Accept();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
