#pragma once
// The arguments a desktop launcher passes to the program.

#include <QString>

// "-useini " when the settings live in the INI file, then the archive path
// in double quotes with every quote inside it doubled.
QString ShortcutParameters(bool useIni, const QString& archivePath);
