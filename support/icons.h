#pragma once
// The program's icons: the desktop's icon theme where it has the icon, our
// bundled SVG otherwise, so a fresh machine shows them too.

#include <QByteArray>
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

// The program's icon's name in the desktop's icon theme, where installing
// the program puts it.
inline constexpr char kAppIconName[] = "vornix";

// The program's own icon as the bundled SVG document, for a file outside
// the program that must show it (a desktop launcher).
QByteArray AppIconSvg();
