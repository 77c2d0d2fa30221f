#pragma once
// The icon a desktop launcher names for the program. A desktop looks a bare
// icon name up only in the icon themes of its data folders, so the name
// alone serves only a program installed there; any other copy of the
// program names an icon file by its path.

#include <QString>
#include <QStringList>

struct TLauncherIconPlaces {
  QStringList dataDirs;  // the folders whose icon themes the desktop searches
  QString userDataDir;   // where the program may keep its own files
};

// The places of this session: the XDG data folders and a "vornix" folder
// in the user's own data folder.
TLauncherIconPlaces DesktopIconPlaces();

// For the executable at programPath:
// - installed (its icon lies where installing puts it beside the program)
//   in one of the data folders: the icon's theme name;
// - installed elsewhere (a private prefix): the path of that icon file;
// - not installed (a build tree, a copied program): the bundled icon
//   written out to the user's data folder, and its path there.
// Empty when the icon cannot be written out.
QString LauncherIcon(const QString& programPath, const TLauncherIconPlaces& places);
