#pragma once
// Quoting of desktop entry values: the string level (backslash escapes of
// every value) and the Exec level (argument quoting and "%" field codes).
// QuoteDesktopExecArg and ParseDesktopExec are declared in shortcut.h.

#include <QString>
#include <QStringList>

// A value written as a desktop entry string: "\" doubled, control
// characters as "\n", "\t", "\r", a leading blank as "\s".
QString EscapeDesktopString(const QString& value);
QString UnescapeDesktopString(const QString& value);

// Splits a command line written with blanks between arguments and double
// quotes around them, a doubled quote inside quotes standing for one quote
// ("-useini "C:\a ""b"".zip"" gives -useini and C:\a "b".zip).
QStringList SplitQuotedParameters(const QString& parameters);
