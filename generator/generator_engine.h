#pragma once
// Password generation from character classes, from a template, or as a
// passphrase of words (generator/passphrase.h).
// Template characters: A a (letters), C c (consonants), V v (vowels),
// 9 (digit), $ (special character); everything else produces nothing.
// A "character" of the special set is one UTF-8 sequence, so multi-byte
// characters are drawn whole.

#include <string>
#include <string_view>
#include <vector>

#include "generator/passphrase.h"

struct TGenOptions {
  // Words mode comes before template mode.
  bool useWords = false;
  TPassphraseOptions words;
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

// The template characters of the chosen classes, in the order A a 9 $ (all
// four when none is chosen): each position picks one of them first.
std::string ClassTemplate(bool upper, bool lower, bool numbers, bool special);
// What one template character can produce, one entry per equally likely
// draw (a special character typed twice appears twice); empty for a
// character that produces nothing.
std::vector<std::string> CharacterChoices(char templateChar, std::string_view specialChars);
