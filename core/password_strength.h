#pragma once
// How many guesses a password is worth, as estimated from its patterns
// (dictionary words, keyboard walks, dates, repeats), and the one threshold
// below which a password counts as weak everywhere it is judged.

#include <string_view>

// Passwords below this many bits of estimated entropy are weak: the password
// report lists them and the meters show them in the warning colour.
inline constexpr double kWeakPasswordBits = 33.0;

// The estimated entropy of a UTF-8 password in bits (0 for an empty one).
double PasswordEntropyBits(std::string_view utf8);

inline bool IsWeakPassword(std::string_view utf8) {
  return PasswordEntropyBits(utf8) < kWeakPasswordBits;
}
