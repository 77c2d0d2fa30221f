#pragma once
// Overwriting a secret held in a QString before its memory is released.

#include <QString>

// Overwrites the text's characters, then empties it.
void WipeText(QString& text);
