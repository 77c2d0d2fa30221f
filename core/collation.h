#pragma once
// Locale-aware, case-insensitive ordering of site texts for the user's
// locale. Byte strings are read as UTF-8, or as Windows-1252 where they are
// not valid UTF-8.

#include <array>
#include <cstdint>
#include <string_view>

// <0, 0, >0 like strcmp; 0 for texts equal but for letter case.
int CollateCompare(std::string_view a, std::string_view b);
// The same where whether each text is valid UTF-8 is known already: a text
// compared with both its neighbours is then checked once.
int CollateCompareChecked(std::string_view a, bool aIsUtf8, std::string_view b, bool bIsUtf8);

// The first bytes of a text's collation key, from the same collator as
// CollateCompare. Sorting many texts makes each one's key once: the text is
// read (and checked as UTF-8) once instead of at every comparison, and most
// comparisons are then a byte comparison of two heads. Only the head is
// kept, so the keys of a million sites take 28 MB.
struct TCollationKey {
  std::array<unsigned char, 27> head{};  // zero-padded; key bytes are never 0
  bool complete = false;                 // the whole key fitted in head
};

TCollationKey CollationKeyOf(std::string_view bytes);

// CollateCompare(a, b), where keyA and keyB are the keys of a and b: heads
// that differ decide, whole keys that are equal make the texts equal, and
// texts whose heads tie are compared in full.
int CompareCollated(const TCollationKey& keyA, std::string_view a, const TCollationKey& keyB,
                    std::string_view b);
