#pragma once
// The text a settings file holds for a value (UTF-8 bytes both ways). A
// value is stored as it is, with one exception kept so that files of earlier
// versions still load.
//
// Earlier versions wrote a value containing ";", "," or "=", or starting or
// ending with a blank, wholly in double quotes with backslash escapes
// ("\"", "\\", "\t", "\x1b", ...), and doubled a leading "@". Such a text is
// read back as the value it stood for. Every other text is the value itself:
// escapes outside quotes, or quotes around a value that never needed them,
// stay as written, so hand-written backslashes and quotes keep their meaning.
//
// A value that would itself be taken for that quoting (it starts and ends
// with a double quote and holds a correctly escaped text between them) is
// written in the quoted form, so every value reads back exactly.

#include <string>
#include <string_view>

// The value that text, as found after the "=" of a settings line, stands for.
std::string SettingsValueFromText(std::string_view text);

// The text to write for value; SettingsValueFromText gives value back.
std::string SettingsValueToText(std::string_view value);
