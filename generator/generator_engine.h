#pragma once
// Password generation from character classes or from a template.
// Template characters: A a (letters), C c (consonants), V v (vowels),
// 9 (digit), $ (special character); everything else produces nothing.
// A "character" of the special set is one UTF-8 sequence, so multi-byte
// characters are drawn whole.

#include <string>
#include <string_view>

struct TGenOptions {
  bool useTemplate = false;
  std::string templ;
  bool upper = true;
  bool lower = true;
  bool numbers = true;
  bool special = true;
  std::string specialChars;
  int length = 9;
};

// One character drawn from the set; an empty set gives an uppercase letter.
std::string PickChar(std::string_view set);
std::string ExpandTemplate(std::string_view templ, std::string_view specialChars);
std::string GenerateFromClasses(bool upper, bool lower, bool numbers, bool special,
                                std::string_view specialChars, int length);
std::string GeneratePassword(const TGenOptions& options);
