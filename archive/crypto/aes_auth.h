#pragma once
// The authentication code of an AES member: HMAC-SHA1 with the member's
// authentication key over its encrypted data, of which the first 10 bytes
// are stored after the data.

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

inline constexpr std::size_t kAesAuthCodeSize = 10;
using TAesAuthCode = std::array<std::uint8_t, kAesAuthCodeSize>;

class TAesAuthenticator {
 public:
  TAesAuthenticator(const std::uint8_t* key, std::size_t keySize);
  void Update(const std::uint8_t* data, std::size_t size);
  // The truncated code of everything passed to Update; call once.
  TAesAuthCode Final();

 private:
  std::unique_ptr<EVP_MAC_CTX, decltype(&EVP_MAC_CTX_free)> ctx_;
};

// Compares in constant time, so a forger learns nothing from the timing.
bool SameAuthCode(const TAesAuthCode& a, const TAesAuthCode& b);
