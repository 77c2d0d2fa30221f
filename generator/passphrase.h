#pragma once
// Passphrases: words drawn uniformly from the EFF large word list, joined
// by a separator, optionally with capitals and one digit.

#include <cstdint>
#include <string>
#include <string_view>

struct TPassphraseOptions {
  int words = 6;
  std::string separator = " ";
  // The first letter of every word in upper case (adds no entropy).
  bool capitals = false;
  // One digit after one of the words, both drawn at random.
  bool digit = false;
};

inline constexpr int kMinPassphraseWords = 1;
inline constexpr int kMaxPassphraseWords = 20;

// A separator may not hold a tab or a line break: the site list keeps a
// password on one line and a tab separates its fields.
bool IsValidSeparator(std::string_view separator);

// A draw in 0..range-1; the generator's random source by default.
using TRandomBelow = std::uint32_t (*)(std::uint32_t range);

// The words count is brought into kMinPassphraseWords..kMaxPassphraseWords.
std::string GeneratePassphrase(const TPassphraseOptions& options, TRandomBelow below = nullptr);
