// Strength figures: bits from the estimator, turned into the time one GPU
// needs against each encryption.
#include "archive/crypto/guess_rates.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/password_strength.h"

namespace {

TEST(GuessRatesTest, AesCostsPbkdf2OfAThousandIterations) {
  // 2^40 guesses, half of them on average, at 2.5 x 10^7 a second.
  const auto seconds = ExpectedGuessSeconds(41, TEncryption::Aes256);
  ASSERT_TRUE(seconds);
  EXPECT_NEAR(*seconds, std::exp2(40) / 2.5e7, 1.0);
  EXPECT_EQ(ExpectedGuessSeconds(41, TEncryption::Aes128), seconds);
}

TEST(GuessRatesTest, NoGuessingWhereThePasswordDoesNotProtect) {
  EXPECT_FALSE(ExpectedGuessSeconds(200, TEncryption::Traditional));
  EXPECT_FALSE(ExpectedGuessSeconds(200, TEncryption::None));
  EXPECT_EQ(GuessTimeText(200, TEncryption::Traditional),
            "breakable without the password (known-plaintext attack)");
  EXPECT_TRUE(GuessTimeIsShort(200, TEncryption::Traditional));
}

TEST(GuessRatesTest, ACenturyIsTheWarningLine) {
  // bits whose expected time is just below and above 100 years against AES.
  const double centuryBits = std::log2(kSafeGuessSeconds * 2.5e7) + 1;
  EXPECT_TRUE(GuessTimeIsShort(centuryBits - 0.01, TEncryption::Aes256));
  EXPECT_FALSE(GuessTimeIsShort(centuryBits + 0.01, TEncryption::Aes256));
}

struct KnownPassword {
  const char* password;
  double minBits, maxBits;  // the estimator's figure, within its rounding
  const char* aesTime;
  bool weak;
};

class KnownPasswordTest : public testing::TestWithParam<KnownPassword> {};

TEST_P(KnownPasswordTest, FiguresMatchTheEstimate) {
  const KnownPassword& p = GetParam();
  const double bits = PasswordEntropyBits(p.password);
  EXPECT_GE(bits, p.minBits) << p.password;
  EXPECT_LE(bits, p.maxBits) << p.password;
  EXPECT_EQ(IsWeakPassword(p.password), p.weak) << p.password;
  EXPECT_EQ(GuessTimeText(bits, TEncryption::Aes256), p.aesTime) << p.password << " " << bits;
}

INSTANTIATE_TEST_SUITE_P(
    Estimates, KnownPasswordTest,
    testing::Values(KnownPassword{"password", 0, 3, "less than a second for one GPU", true},
                    KnownPassword{"Tr0ub4dor&3", 46, 48, "27 days for one GPU", false},
                    KnownPassword{"x7$Kq!2mZp#9Lw", 80, 90, "more than a million years for one GPU",
                                  false}));

}  // namespace
