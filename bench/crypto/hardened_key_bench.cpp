// One hardened key derivation (Argon2id at the cost new archives get)
// against one WinZip AES password check, in the same run: PBKDF2-HMAC-SHA1
// with 1000 rounds. A reader derives all 66 bytes of keys and verifier (four
// SHA-1 blocks); a guesser needs only the block that holds the verifier, so
// one block is the cost of one guess.
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>

#include "archive/crypto/hardened_key.h"

namespace {

template <typename F>
double Seconds(F&& run, int times) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < times; ++i) run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / times;
}

}  // namespace

int main() {
  const THardenedParams params = NewHardenedParams();
  const double argon = Seconds([&] { DeriveHardenedKey("correct horse", params); }, 5);
  unsigned char keys[66];
  const unsigned char salt[16] = {};
  const double pbkdf2 = Seconds(
      [&] { PKCS5_PBKDF2_HMAC_SHA1("correct horse", 13, salt, 16, 1000, sizeof keys, keys); }, 200);
  std::printf("Argon2id %llu MiB, %u passes: %.3f s a key\n",
              static_cast<unsigned long long>(params.memoryBytes / kMiB), params.operations, argon);
  unsigned char block[20];
  const double guess = Seconds(
      [&] { PKCS5_PBKDF2_HMAC_SHA1("correct horse", 13, salt, 16, 1000, sizeof block, block); },
      200);
  std::printf("PBKDF2-HMAC-SHA1 1000 rounds, 66 bytes (a reader): %.6f s (%.0f times cheaper)\n",
              pbkdf2, argon / pbkdf2);
  std::printf("PBKDF2-HMAC-SHA1 1000 rounds, one block (a guess): %.6f s (%.0f times cheaper)\n",
              guess, argon / guess);
  return 0;
}
