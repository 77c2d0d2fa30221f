#pragma once
// The two streams through which AES member data is written and read. The
// data of such a member is: salt, 2-byte password verifier, the encrypted
// (compressed or stored) bytes, then the 10-byte authentication code.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/crypto/aes_auth.h"
#include "archive/crypto/aes_ctr.h"
#include "archive/crypto/aes_keys.h"
#include "archive/streams.h"

// Salt, verifier and authentication code: the bytes an AES member carries
// besides its encrypted data.
std::size_t AesOverhead(int strength);

// Writes a fresh salt (from the system's random source) and the verifier at
// once, then encrypts and authenticates everything written; Finish appends
// the authentication code.
class TAesEncryptStream final : public TStream {
 public:
  TAesEncryptStream(TStream& target, const std::string& password, int strength);
  std::size_t Read(void* buffer, std::size_t count) override;  // not supported: throws
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override;
  void Finish();

 private:
  TStream& target_;
  std::array<std::uint8_t, 16> salt_{};
  TAesKeys keys_;
  TAesCtr ctr_;
  TAesAuthenticator auth_;
  std::vector<std::uint8_t> scratch_;
};

// The authentication code of the whole source, read from position 0.
TAesAuthCode AuthenticateAes(TStream& encrypted, const TAesKeys& keys);

// Decrypts the encrypted bytes of a member (source: exactly those bytes,
// positioned at 0) and authenticates them as they pass. Reads must be
// sequential; a seek back (the decoder returns its read-ahead) is allowed
// if nothing is read afterwards.
class TAesDecryptStream final : public TStream {
 public:
  TAesDecryptStream(TStream& source, const TAesKeys& keys);
  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;  // not supported: throws
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override;
  // Authenticates what the reader left unread and returns the code of all
  // the source's bytes.
  TAesAuthCode Final();

 private:
  TStream& source_;
  TAesCtr ctr_;
  TAesAuthenticator auth_;
  std::int64_t done_ = 0;  // bytes authenticated and decrypted so far
};
