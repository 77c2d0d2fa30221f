#include "archive/crypto/aes_streams.h"

#include <algorithm>
#include <stdexcept>

#include "archive/zip/aes_extra.h"
#include "archive/crypto/zip_crypto.h"
#include "core/secure_random.h"

namespace {

constexpr std::size_t kVerifierSize = 2;
constexpr std::size_t kAuthChunk = 64 * 1024;

std::array<std::uint8_t, 16> FreshSalt() {
  std::array<std::uint8_t, 16> salt{};
  SecureRandomBytes(salt.data(), salt.size());
  return salt;
}

}  // namespace

std::size_t AesOverhead(int strength) {
  return AesSaltSize(strength) + kVerifierSize + kAesAuthCodeSize;
}

TAesEncryptStream::TAesEncryptStream(TStream& target, const std::string& password, int strength)
    : target_(target),
      salt_(FreshSalt()),
      keys_(password, salt_.data(), strength),
      ctr_(keys_.EncryptionKey(), keys_.KeySize()),
      auth_(keys_.AuthenticationKey(), keys_.KeySize()) {
  const auto verifier = keys_.Verifier();
  target_.WriteExact(salt_.data(), AesSaltSize(strength));
  target_.WriteExact(verifier.data(), verifier.size());
}

std::size_t TAesEncryptStream::Read(void*, std::size_t) {
  throw std::logic_error("TAesEncryptStream cannot be read");
}

std::size_t TAesEncryptStream::Write(const void* buffer, std::size_t count) {
  if (scratch_.size() < count) scratch_.resize(count);
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::copy(in, in + count, scratch_.begin());
  ctr_.Apply(scratch_.data(), count);
  auth_.Update(scratch_.data(), count);
  return target_.Write(scratch_.data(), count);
}

std::int64_t TAesEncryptStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return target_.Seek(offset, origin);
}

std::int64_t TAesEncryptStream::Size() { return target_.Size(); }

void TAesEncryptStream::Finish() {
  const TAesAuthCode code = auth_.Final();
  target_.WriteExact(code.data(), code.size());
}

TAesAuthCode AuthenticateAes(TStream& encrypted, const TAesKeys& keys) {
  TAesAuthenticator auth(keys.AuthenticationKey(), keys.KeySize());
  std::vector<std::uint8_t> chunk(kAuthChunk);
  encrypted.SetPosition(0);
  while (std::size_t got = encrypted.Read(chunk.data(), chunk.size()))
    auth.Update(chunk.data(), got);
  return auth.Final();
}

TAesDecryptStream::TAesDecryptStream(TStream& source, const TAesKeys& keys)
    : source_(source),
      ctr_(keys.EncryptionKey(), keys.KeySize()),
      auth_(keys.AuthenticationKey(), keys.KeySize()) {}

std::size_t TAesDecryptStream::Read(void* buffer, std::size_t count) {
  // The key stream runs with the position, so bytes must come in order.
  if (source_.Position() != done_) throw std::logic_error("AES data read out of order");
  auto* data = static_cast<std::uint8_t*>(buffer);
  const std::size_t got = source_.Read(data, count);
  auth_.Update(data, got);
  ctr_.Apply(data, got);
  done_ += static_cast<std::int64_t>(got);
  return got;
}

std::size_t TAesDecryptStream::Write(const void*, std::size_t) {
  throw std::logic_error("TAesDecryptStream cannot be written");
}

std::int64_t TAesDecryptStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return source_.Seek(offset, origin);
}

std::int64_t TAesDecryptStream::Size() { return source_.Size(); }

TAesAuthCode TAesDecryptStream::Final() {
  std::vector<std::uint8_t> chunk(kAuthChunk);
  source_.SetPosition(done_);
  while (std::size_t got = source_.Read(chunk.data(), chunk.size())) {
    auth_.Update(chunk.data(), got);
    done_ += static_cast<std::int64_t>(got);
  }
  return auth_.Final();
}
