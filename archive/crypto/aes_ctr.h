#pragma once
// AES in counter mode as ZIP members use it: the counter is a 16-byte
// little-endian number starting at 1. OpenSSL's own CTR mode counts
// big-endian and would agree for the first block only, so the counter
// blocks are built here and encrypted with AES-ECB; the key stream is
// XORed onto the data. Encrypting and decrypting are the same operation.

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

class TAesCtr {
 public:
  // key holds 16, 24 or 32 bytes (AES-128/192/256).
  TAesCtr(const std::uint8_t* key, std::size_t keySize);
  ~TAesCtr();
  TAesCtr(const TAesCtr&) = delete;
  TAesCtr& operator=(const TAesCtr&) = delete;

  // XORs the next size bytes of the key stream onto data; calls continue
  // the stream where the previous one stopped, whatever their sizes.
  void Apply(std::uint8_t* data, std::size_t size);

 private:
  static constexpr std::size_t kBlock = 16;
  // Counter blocks encrypted per call into OpenSSL: enough to keep the
  // processor's AES unit busy, small enough to stay in the first-level cache.
  static constexpr std::size_t kBatchBlocks = 256;
  static constexpr std::size_t kBatchBytes = kBlock * kBatchBlocks;

  void Refill();

  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx_;
  std::uint64_t counter_ = 1;
  std::array<std::uint8_t, kBatchBytes> counters_{};
  std::array<std::uint8_t, kBatchBytes> keystream_{};
  std::size_t used_ = kBatchBytes;  // bytes of keystream_ already applied
};
