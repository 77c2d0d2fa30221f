#pragma once
// The status bar's note of a password on the clipboard: how many seconds
// until it is cleared. Hidden while none is pending. A widget of its own,
// not a status message, so the archive path stays in view.

#include <QLabel>

class TClipboardCountdown : public QLabel {
  Q_OBJECT
 public:
  explicit TClipboardCountdown(QWidget* parent = nullptr);

 private:
  void Show(int secondsLeft);
};
