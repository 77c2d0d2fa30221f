#include "archive/crypto/hardened_key.h"

#include <sodium.h>

#include <stdexcept>

#include "core/secure_random.h"

namespace {

constexpr std::size_t kKeyBytes = 32;

std::uint64_t gNewMemoryBytes = kHardenedMemoryBytes;

std::string MiB(std::uint64_t bytes) {
  return std::to_string(bytes / kMiB) + (bytes % kMiB ? "+" : "") + " MiB";
}

}  // namespace

std::optional<std::string> HardenedParamsProblem(const THardenedParams& params) {
  if (params.memoryBytes < kMinHardenedMemory || params.memoryBytes > kMaxHardenedMemory) {
    return "the memory cost " + MiB(params.memoryBytes) + " is outside " +
           MiB(kMinHardenedMemory) + " to " + MiB(kMaxHardenedMemory);
  }
  if (params.operations < kMinHardenedOperations || params.operations > kMaxHardenedOperations) {
    return "the operations count " + std::to_string(params.operations) + " is outside " +
           std::to_string(kMinHardenedOperations) + " to " +
           std::to_string(kMaxHardenedOperations);
  }
  if (params.salt.size() != kHardenedSaltSize) {
    return "the salt has " + std::to_string(params.salt.size()) + " bytes instead of " +
           std::to_string(kHardenedSaltSize);
  }
  return std::nullopt;
}

THardenedParams NewHardenedParams() {
  THardenedParams params;
  params.memoryBytes = gNewMemoryBytes;
  params.salt.resize(kHardenedSaltSize);
  SecureRandomBytes(params.salt.data(), params.salt.size());
  return params;
}

TSecretBytes DeriveHardenedKey(std::string_view password, const THardenedParams& params) {
  if (const auto problem = HardenedParamsProblem(params)) throw std::invalid_argument(*problem);
  if (sodium_init() < 0) throw std::runtime_error("The Argon2id library cannot start");
  unsigned char key[kKeyBytes];
  const int failed = crypto_pwhash(
      key, sizeof key, password.data(), password.size(),
      reinterpret_cast<const unsigned char*>(params.salt.data()), params.operations,
      static_cast<std::size_t>(params.memoryBytes), crypto_pwhash_ALG_ARGON2ID13);
  if (failed) {
    sodium_memzero(key, sizeof key);
    throw std::runtime_error("Not enough memory for the archive's key (" +
                             MiB(params.memoryBytes) + ")");
  }
  char hex[kKeyBytes * 2 + 1];
  sodium_bin2hex(hex, sizeof hex, key, sizeof key);
  sodium_memzero(key, sizeof key);
  TSecretBytes text{std::string_view(hex, kKeyBytes * 2)};
  sodium_memzero(hex, sizeof hex);
  return text;
}

void SetHardenedMemoryForTesting(std::uint64_t memoryBytes) {
  gNewMemoryBytes = memoryBytes ? memoryBytes : kHardenedMemoryBytes;
}

THardenedKeys::THardenedKeys() {
  std::string key(crypto_generichash_KEYBYTES, '\0');
  SecureRandomBytes(key.data(), key.size());
  tagKey_ = TSecretBytes(std::move(key));
}

TSecretBytes THardenedKeys::Tag(std::string_view password) const {
  std::string tag(crypto_generichash_BYTES, '\0');
  crypto_generichash(reinterpret_cast<unsigned char*>(tag.data()), tag.size(),
                     reinterpret_cast<const unsigned char*>(password.data()), password.size(),
                     reinterpret_cast<const unsigned char*>(tagKey_.c_str()), tagKey_.size());
  return TSecretBytes(std::move(tag));
}

const TSecretBytes& THardenedKeys::KeyFor(std::string_view password,
                                          const THardenedParams& params) {
  TSecretBytes tag = Tag(password);
  if (!last_ || !(last_->passwordTag == tag) || !(last_->params == params)) {
    TSecretBytes key = DeriveHardenedKey(password, params);
    last_ = TEntry{std::move(tag), params, std::move(key)};
  }
  return last_->key;
}

const THardenedParams& THardenedKeys::ParamsFor(std::string_view password) {
  if (!last_ || !(last_->passwordTag == Tag(password))) KeyFor(password, NewHardenedParams());
  return last_->params;
}

void THardenedKeys::Forget() { last_.reset(); }

TZipPassword ZipPasswordFor(const TSecretBytes& password, TEncryption encryption,
                            THardenedKeys& keys) {
  if (encryption != TEncryption::Aes256Hardened || password.empty()) return {password, {}};
  const THardenedParams params = keys.ParamsFor(password.view());
  return {keys.KeyFor(password.view(), params), params};
}
