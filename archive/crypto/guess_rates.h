#pragma once
// How fast an attacker with one current GPU guesses passwords against each
// encryption, and what that makes of a password's strength: the expected
// time to find it, half the space of 2^bits guesses.

#include <optional>
#include <span>
#include <string>

#include "archive/crypto/zip_encryption.h"

struct TGuessRate {
  TEncryption encryption;
  // Guesses per second for one GPU; 0 where no password protects the data.
  double guessesPerSecond;
  // The data can be had without guessing the password at all.
  bool breakableWithoutPassword;
};

// An Argon2id key of 256 MiB is bound by memory traffic: three passes read
// two and write one 1 KiB block per block, about 2.3 GiB a guess, so a GPU
// with 1 TB/s of memory bandwidth manages about 400 guesses a second at best
// (its 24 GiB hold fewer than 100 derivations at once, which bounds it
// further). The row of an encryption with such a key uses this rate.
inline constexpr double kArgon2idHardenedGuessesPerSecond = 400;

// One row per encryption, in the order of TEncryption.
std::span<const TGuessRate> GuessRates();
const TGuessRate& GuessRateOf(TEncryption encryption);

// Below this expected time a password is worth a warning (about a century).
inline constexpr double kSafeGuessSeconds = 100 * 365.25 * 24 * 3600;

// The expected seconds for one GPU to guess a password of `bits` against
// `encryption`: 2^(bits-1) / rate. nullopt where guessing is not needed.
std::optional<double> ExpectedGuessSeconds(double bits, TEncryption encryption);

// What a person reads: "about 3 hours for one GPU", or why guessing does not
// matter ("no encryption: readable by anyone", "breakable without the
// password (known-plaintext attack)").
std::string GuessTimeText(double bits, TEncryption encryption);

// True where the password (or the encryption) falls short of a century.
bool GuessTimeIsShort(double bits, TEncryption encryption);
