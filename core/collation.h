#pragma once
// Locale-aware, case-insensitive ordering of site texts for the user's
// locale. Byte strings are read as UTF-8, or as Windows-1252 where they are
// not valid UTF-8.

#include <string_view>

// <0, 0, >0 like strcmp; 0 for texts equal but for letter case.
int CollateCompare(std::string_view a, std::string_view b);
