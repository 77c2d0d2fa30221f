#include "app/clipboard_countdown.h"

#include "support/secret_clipboard.h"

TClipboardCountdown::TClipboardCountdown(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  connect(&SecretClipboard(), &TSecretClipboard::CountdownChanged, this,
          &TClipboardCountdown::Show);
  Show(SecretClipboard().SecondsLeft());
}

void TClipboardCountdown::Show(int secondsLeft) {
  setVisible(secondsLeft > 0);
  if (secondsLeft > 0) setText(QStringLiteral("Clipboard clears in %1 s").arg(secondsLeft));
}
