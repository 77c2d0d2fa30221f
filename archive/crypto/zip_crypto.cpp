#include "archive/crypto/zip_crypto.h"

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "archive/archive_errors.h"
#include "archive/codec/crc32.h"
#include "core/secure_random.h"

namespace {

constexpr std::uint32_t kKey0 = 0x12345678u;
constexpr std::uint32_t kKey1 = 0x23456789u;
constexpr std::uint32_t kKey2 = 0x34567890u;

inline std::uint32_t CrcStep(const std::uint32_t* table, std::uint32_t key, std::uint8_t b) {
  return table[(key ^ b) & 0xFFu] ^ (key >> 8);
}

// The cipher's three keys as locals, so the byte loops keep them in registers
// and store them back once per call.
struct TKeys {
  std::uint32_t k0, k1, k2;
  const std::uint32_t* table = Crc32Table();

  void Update(std::uint8_t plain) {
    k0 = CrcStep(table, k0, plain);
    k1 = (k1 + (k0 & 0xFFu)) * 134775813u + 1u;
    k2 = CrcStep(table, k2, static_cast<std::uint8_t>(k1 >> 24));
  }
  std::uint8_t Stream() const {
    std::uint32_t t = (k2 & 0xFFFFu) | 2u;
    return static_cast<std::uint8_t>((t * (t ^ 1u)) >> 8);
  }
  std::uint8_t EncryptByte(std::uint8_t plain) {
    std::uint8_t c = plain ^ Stream();
    Update(plain);
    return c;
  }
  std::uint8_t DecryptByte(std::uint8_t cipher) {
    std::uint8_t p = cipher ^ Stream();
    Update(p);
    return p;
  }
};

void RequirePassword(const std::string& password) {
  // An empty password means "not encrypted"; encrypting with it is a bug.
  if (password.empty()) throw std::logic_error("ZIP encryption needs a password");
}

}  // namespace

void TZipCipher::InitKeys(const std::string& password) {
  key0_ = kKey0;
  key1_ = kKey1;
  key2_ = kKey2;
  for (char c : password) UpdateKeys(static_cast<std::uint8_t>(c));
}

void TZipCipher::UpdateKeys(std::uint8_t plain) {
  TKeys k{key0_, key1_, key2_};
  k.Update(plain);
  key0_ = k.k0;
  key1_ = k.k1;
  key2_ = k.k2;
}

std::uint8_t TZipCipher::KeystreamByte() const {
  std::uint32_t t = (key2_ & 0xFFFFu) | 2u;
  return static_cast<std::uint8_t>((t * (t ^ 1u)) >> 8);
}

void TZipCipher::Encrypt(std::uint8_t* data, std::size_t size) {
  TKeys k{key0_, key1_, key2_};
  for (std::size_t i = 0; i < size; ++i) data[i] = k.EncryptByte(data[i]);
  key0_ = k.k0;
  key1_ = k.k1;
  key2_ = k.k2;
}

void TZipCipher::Decrypt(std::uint8_t* data, std::size_t size) {
  TKeys k{key0_, key1_, key2_};
  for (std::size_t i = 0; i < size; ++i) data[i] = k.DecryptByte(data[i]);
  key0_ = k.k0;
  key1_ = k.k1;
  key2_ = k.k2;
}

std::array<std::uint8_t, 12> TZipCipher::CreateHeader(const std::string& password,
                                                      std::uint32_t check) {
  RequirePassword(password);
  std::array<std::uint8_t, 12> header{};
  SecureRandomBytes(header.data(), 10);
  // The first pass turns the random bytes into the encryption of random
  // bytes, so the plain header carries no raw output of the random source.
  InitKeys(password);
  Encrypt(header.data(), 10);
  InitKeys(password);
  header[10] = static_cast<std::uint8_t>(check >> 16);
  header[11] = static_cast<std::uint8_t>(check >> 24);
  Encrypt(header.data(), header.size());
  return header;
}

bool TZipCipher::VerifyHeader(const std::array<std::uint8_t, 12>& header,
                              const std::string& password, std::uint32_t check) {
  RequirePassword(password);
  std::array<std::uint8_t, 12> plain = header;
  InitKeys(password);
  Decrypt(plain.data(), plain.size());
  return plain[11] == static_cast<std::uint8_t>(check >> 24);
}

TZipEncryptStream::TZipEncryptStream(TStream& target, const std::string& password,
                                     std::uint32_t check)
    : target_(target) {
  auto header = cipher_.CreateHeader(password, check);
  target_.WriteExact(header.data(), header.size());
}

std::size_t TZipEncryptStream::Read(void*, std::size_t) {
  throw std::logic_error("TZipEncryptStream cannot be read");
}

std::size_t TZipEncryptStream::Write(const void* buffer, std::size_t count) {
  if (scratch_.size() < count) scratch_.resize(count);
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::copy(in, in + count, scratch_.begin());
  cipher_.Encrypt(scratch_.data(), count);
  return target_.Write(scratch_.data(), count);
}

std::int64_t TZipEncryptStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return target_.Seek(offset, origin);
}

std::int64_t TZipEncryptStream::Size() { return target_.Size(); }

TZipDecryptStream::TZipDecryptStream(TStream& source, const std::string& password,
                                     std::uint32_t check)
    : source_(source), password_(password), check_(check) {}

bool TZipDecryptStream::IsValid() {
  std::array<std::uint8_t, 12> header{};
  source_.ReadExact(header.data(), header.size());
  ready_ = cipher_.VerifyHeader(header, password_, check_);
  if (!ready_) source_.Seek(-static_cast<std::int64_t>(header.size()), SeekOrigin::Current);
  return ready_;
}

std::size_t TZipDecryptStream::Read(void* buffer, std::size_t count) {
  if (!ready_) throw std::logic_error("TZipDecryptStream read before its header was verified");
  std::size_t got = source_.Read(buffer, count);
  cipher_.Decrypt(static_cast<std::uint8_t*>(buffer), got);
  return got;
}

std::size_t TZipDecryptStream::Write(const void*, std::size_t) {
  throw std::logic_error("TZipDecryptStream cannot be written");
}

std::int64_t TZipDecryptStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return source_.Seek(offset, origin);
}

std::int64_t TZipDecryptStream::Size() { return source_.Size(); }
