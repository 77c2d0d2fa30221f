#pragma once
// ASCII letter case whatever the C locale: only A-Z and a-z change, every
// other byte (and so every byte of a UTF-8 sequence) stays as it is. For
// names that programs compare: settings names, member names, URI labels,
// option values.

#include <algorithm>
#include <string>
#include <string_view>

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string AsciiLowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

inline std::string AsciiUppered(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiUpper(c);
  return upper;
}

inline bool StartsWithAsciiNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

inline bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithAsciiNoCase(a, b);
}
