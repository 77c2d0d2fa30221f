#pragma once
// The keys of one AES member, derived from the password and the member's
// salt with PBKDF2-HMAC-SHA1 (1,000 iterations): the encryption key, the
// authentication key and the 2-byte password verifier, in that order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class TAesKeys {
 public:
  // strength 1..3 (AES-128/192/256); salt holds AesSaltSize(strength) bytes.
  TAesKeys(const std::string& password, const std::uint8_t* salt, int strength);
  ~TAesKeys();
  TAesKeys(const TAesKeys&) = delete;
  TAesKeys& operator=(const TAesKeys&) = delete;

  int Strength() const { return strength_; }
  const std::uint8_t* EncryptionKey() const { return material_.data(); }
  const std::uint8_t* AuthenticationKey() const { return material_.data() + keySize_; }
  std::size_t KeySize() const { return keySize_; }
  std::array<std::uint8_t, 2> Verifier() const;

 private:
  int strength_;
  std::size_t keySize_;
  // Two 32-byte keys and the verifier at most; wiped when the keys go.
  std::array<std::uint8_t, 66> material_{};
};
