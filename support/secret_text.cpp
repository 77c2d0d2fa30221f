#include "support/secret_text.h"

void WipeText(QString& text) {
  // fill() writes in place when the text is not shared; a shared copy is
  // somebody else's to wipe.
  text.fill(QChar(u'\0'));
  text.clear();
}
