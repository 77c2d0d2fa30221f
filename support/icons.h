#pragma once
// The program's icons: the desktop's icon theme where it has the icon, our
// bundled SVG otherwise, so a fresh machine shows them too.

#include <QIcon>

enum class IconRole {
  Add,
  Modify,
  Delete,
  Generate,
  New,
  Open,
  Save,
  SaveAs,
  Close,
  Shortcut,  // the main image list, in order
  Clipboard,
  LaunchUrl,
  App
};

QIcon VornixIcon(IconRole role);
