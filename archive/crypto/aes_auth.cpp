#include "archive/crypto/aes_auth.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/params.h>

#include <algorithm>
#include <stdexcept>

namespace {

using TMac = std::unique_ptr<EVP_MAC, decltype(&EVP_MAC_free)>;

[[noreturn]] void FailMac() { throw std::runtime_error("HMAC-SHA1 computation failed"); }

}  // namespace

TAesAuthenticator::TAesAuthenticator(const std::uint8_t* key, std::size_t keySize)
    : ctx_(nullptr, &EVP_MAC_CTX_free) {
  TMac mac(EVP_MAC_fetch(nullptr, "HMAC", nullptr), &EVP_MAC_free);
  if (!mac) FailMac();
  ctx_.reset(EVP_MAC_CTX_new(mac.get()));
  char digest[] = "SHA1";
  const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                               OSSL_PARAM_construct_end()};
  if (!ctx_ || EVP_MAC_init(ctx_.get(), key, keySize, params) != 1) FailMac();
}

void TAesAuthenticator::Update(const std::uint8_t* data, std::size_t size) {
  if (size > 0 && EVP_MAC_update(ctx_.get(), data, size) != 1) FailMac();
}

TAesAuthCode TAesAuthenticator::Final() {
  std::array<std::uint8_t, EVP_MAX_MD_SIZE> full{};
  std::size_t length = 0;
  if (EVP_MAC_final(ctx_.get(), full.data(), &length, full.size()) != 1 ||
      length < kAesAuthCodeSize) {
    FailMac();
  }
  TAesAuthCode code{};
  std::copy_n(full.begin(), code.size(), code.begin());
  return code;
}

bool SameAuthCode(const TAesAuthCode& a, const TAesAuthCode& b) {
  return CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}
