#pragma once
// Byte strings of the core layers to and from Qt text. Bytes that are not
// valid UTF-8 (archives written on Windows) show as Windows-1252.

#include <QString>
#include <string>

QString ToQString(const std::string& bytes);
std::string ToBytes(const QString& text);
// A path as the bytes the file system uses, for the Qt-free layers.
std::string ToFileName(const QString& path);
