#include "archive/crypto/aes_keys.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <stdexcept>

#include "archive/zip/aes_extra.h"

namespace {
constexpr int kIterations = 1000;
constexpr std::size_t kVerifierSize = 2;
}  // namespace

TAesKeys::TAesKeys(const std::string& password, const std::uint8_t* salt, int strength)
    : strength_(strength), keySize_(AesKeySize(strength)) {
  const std::size_t length = 2 * keySize_ + kVerifierSize;
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt,
                        static_cast<int>(AesSaltSize(strength)), kIterations, EVP_sha1(),
                        static_cast<int>(length), material_.data()) != 1) {
    throw std::runtime_error("AES key derivation failed");
  }
}

TAesKeys::~TAesKeys() { OPENSSL_cleanse(material_.data(), material_.size()); }

std::array<std::uint8_t, 2> TAesKeys::Verifier() const {
  const std::uint8_t* v = material_.data() + 2 * keySize_;
  return {v[0], v[1]};
}
