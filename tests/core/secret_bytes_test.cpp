// Secrets that wipe themselves, and the strength estimate judged against the
// one weak threshold.

#include <gtest/gtest.h>

#include "core/password_strength.h"
#include "core/secret_bytes.h"

TEST(SecretBytes, MovedFromAndAssignedSecretsHoldNothing) {
  TSecretBytes first{std::string("correct horse battery staple")};
  TSecretBytes second{std::move(first)};
  EXPECT_TRUE(first.empty());
  EXPECT_EQ(second.view(), "correct horse battery staple");
  second.Assign("a much longer secret that cannot fit the old buffer at all");
  EXPECT_EQ(second.view(), "a much longer secret that cannot fit the old buffer at all");
  TSecretBytes copy = second;
  second.Clear();
  EXPECT_TRUE(second.empty());
  EXPECT_EQ(copy, TSecretBytes{std::string_view("a much longer secret that cannot fit the old buffer at all")});
}

TEST(PasswordStrength, CommonPasswordsAreWeakAndRandomOnesAreNot) {
  EXPECT_EQ(PasswordEntropyBits(""), 0.0);
  for (const char* weak : {"password", "123456", "qwerty", "Password1"}) EXPECT_TRUE(IsWeakPassword(weak)) << weak;
  EXPECT_FALSE(IsWeakPassword("w7#Kq9!zR2$mXv4p"));
  EXPECT_GT(PasswordEntropyBits("w7#Kq9!zR2$mXv4pLs8&"), PasswordEntropyBits("w7#Kq9!zR2"));
}
