#pragma once
// The main window's title: which archive is open and whether it is locked.

#include <QString>

// "<file name>[*] - <product>" for a named archive (Qt shows the "[*]" as a
// mark while the window is modified), "<file name> [Locked] - <product>"
// while locked, and the product name alone while the archive has no name.
QString MainWindowTitle(const QString& archivePath, bool locked);
