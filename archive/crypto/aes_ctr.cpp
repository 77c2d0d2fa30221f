#include "archive/crypto/aes_ctr.h"

#include <openssl/crypto.h>

#include <algorithm>
#include <stdexcept>

namespace {

const EVP_CIPHER* EcbCipher(std::size_t keySize) {
  switch (keySize) {
    case 16:
      return EVP_aes_128_ecb();
    case 24:
      return EVP_aes_192_ecb();
    case 32:
      return EVP_aes_256_ecb();
    default:
      throw std::logic_error("AES key of unsupported size");
  }
}

}  // namespace

TAesCtr::TAesCtr(const std::uint8_t* key, std::size_t keySize)
    : ctx_(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free) {
  if (!ctx_ || EVP_EncryptInit_ex(ctx_.get(), EcbCipher(keySize), nullptr, key, nullptr) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx_.get(), 0) != 1) {
    throw std::runtime_error("AES cipher setup failed");
  }
}

// The key stream left over says nothing of the key, but it is no one
// else's business either.
TAesCtr::~TAesCtr() { OPENSSL_cleanse(keystream_.data(), keystream_.size()); }

// Encrypts the next kBatchBlocks counter values. The counter is 128 bits
// little-endian; a member would need 2^64 blocks to carry into the upper
// half, so those bytes stay 0.
void TAesCtr::Refill() {
  for (std::size_t b = 0; b < kBatchBlocks; ++b, ++counter_) {
    std::uint8_t* block = counters_.data() + b * kBlock;
    for (std::size_t i = 0; i < 8; ++i) block[i] = static_cast<std::uint8_t>(counter_ >> (8 * i));
  }
  int written = 0;
  if (EVP_EncryptUpdate(ctx_.get(), keystream_.data(), &written, counters_.data(),
                        static_cast<int>(kBatchBytes)) != 1 ||
      written != static_cast<int>(kBatchBytes)) {
    throw std::runtime_error("AES encryption failed");
  }
  used_ = 0;
}

void TAesCtr::Apply(std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    if (used_ == kBatchBytes) Refill();
    const std::size_t n = std::min(size, kBatchBytes - used_);
    const std::uint8_t* key = keystream_.data() + used_;
    for (std::size_t i = 0; i < n; ++i) data[i] ^= key[i];
    data += n;
    size -= n;
    used_ += n;
  }
}
