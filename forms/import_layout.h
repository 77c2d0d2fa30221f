#pragma once
// Where the import window's controls go for a given client size: the two
// lists share the width left beside the button panel, the panel sits
// between them centred on their height, OK and Cancel keep to the bottom
// right corner.

#include <QRect>
#include <QSize>

struct TImportLayout {
  QRect fromList;   // lbxFromArchive
  QRect copyList;   // lbxCopyItems
  QRect copyLabel;  // lblCopyItems
  QRect panel;      // pnlButtons
  QRect ok;
  QRect cancel;
  QRect note;       // lblImportNote, left of OK
};

// The dialog's first client size, and its minimum.
inline constexpr QSize kImportFirstClient{625, 354};

TImportLayout ImportLayout(QSize client);
