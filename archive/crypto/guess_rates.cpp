#include "archive/crypto/guess_rates.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "core/duration_text.h"

namespace {

// The traditional cipher's key check is a handful of table steps per
// candidate; GPU crackers test on the order of 10^10 candidates a second on
// one current card (hashcat's PKZIP modes 17200-17230). More to the point, a
// known-plaintext attack recovers its keys from 12 known bytes (Biham and
// Kocher, 1994), and a ZIP header gives those away, so no password guessing
// is needed.
constexpr double kTraditionalGuessesPerSecond = 1e10;

// AES members derive their keys with PBKDF2-HMAC-SHA1, 1,000 iterations; a
// guess costs 1,000 iterations x 2 SHA-1 blocks (the inner and outer hash of
// HMAC) to reach the password verifier. One current GPU computes about
// 5 x 10^10 SHA-1 blocks a second (hashcat -m 100 on an RTX 4090), so
// 2.5 x 10^7 guesses a second; hashcat's WinZip mode (-m 13600) measures the
// same order. The key length does not change the cost.
constexpr double kWinZipAesGuessesPerSecond = 5e10 / (1000 * 2);

constexpr std::array kRates = {
    TGuessRate{TEncryption::None, 0, true},
    TGuessRate{TEncryption::Traditional, kTraditionalGuessesPerSecond, true},
    TGuessRate{TEncryption::Aes128, kWinZipAesGuessesPerSecond, false},
    TGuessRate{TEncryption::Aes192, kWinZipAesGuessesPerSecond, false},
    TGuessRate{TEncryption::Aes256, kWinZipAesGuessesPerSecond, false},
    TGuessRate{TEncryption::Aes256Hardened, kArgon2idHardenedGuessesPerSecond, false},
};
}  // namespace

std::span<const TGuessRate> GuessRates() { return kRates; }

const TGuessRate& GuessRateOf(TEncryption encryption) {
  const auto row = std::find_if(std::begin(kRates), std::end(kRates),
                                [&](const TGuessRate& r) { return r.encryption == encryption; });
  return row != std::end(kRates) ? *row : kRates.front();
}

std::optional<double> ExpectedGuessSeconds(double bits, TEncryption encryption) {
  const TGuessRate& rate = GuessRateOf(encryption);
  if (rate.breakableWithoutPassword || rate.guessesPerSecond <= 0) return std::nullopt;
  return std::exp2(std::max(0.0, bits - 1)) / rate.guessesPerSecond;
}

std::string GuessTimeText(double bits, TEncryption encryption) {
  if (encryption == TEncryption::None) return "no encryption: readable by anyone";
  const std::optional<double> seconds = ExpectedGuessSeconds(bits, encryption);
  if (!seconds) return "breakable without the password (known-plaintext attack)";
  return HumanDuration(*seconds) + " for one GPU";
}

bool GuessTimeIsShort(double bits, TEncryption encryption) {
  const std::optional<double> seconds = ExpectedGuessSeconds(bits, encryption);
  return !seconds || *seconds < kSafeGuessSeconds;
}
