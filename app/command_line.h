#pragma once
// The archive named on the program's command line.

#include <QDir>
#include <QString>
#include <QStringList>
#include <string_view>

// What "vornix --help" prints.
extern const char kWindowUsage[];
// "--help" or "-h".
bool IsHelpSwitch(std::string_view argument);

// The absolute path of the first argument that names an existing file, with
// one pair of enclosing double quotes removed; relative paths are taken from
// the current folder. Empty when no argument names a file (switches and
// missing files are skipped).
QString CommandLineArchive(const QStringList& arguments, const QDir& currentDir = QDir::current());
