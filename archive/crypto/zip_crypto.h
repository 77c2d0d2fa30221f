#pragma once
// Traditional ZIP encryption: key schedule, byte cipher, the 12-byte
// encryption header and the two streams that wrap member data.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/streams.h"

class TZipCipher {
 public:
  void InitKeys(const std::string& password);
  void UpdateKeys(std::uint8_t plain);
  std::uint8_t KeystreamByte() const;
  void Encrypt(std::uint8_t* data, std::size_t size);
  void Decrypt(std::uint8_t* data, std::size_t size);

  // A header for the check value (plain bytes 10 and 11 are its bits 16..31);
  // leaves the keys ready to encrypt what follows.
  std::array<std::uint8_t, 12> CreateHeader(const std::string& password, std::uint32_t check);
  // True when decrypted byte 11 equals check >> 24; the keys are then ready.
  bool VerifyHeader(const std::array<std::uint8_t, 12>& header, const std::string& password,
                    std::uint32_t check);

 private:
  std::uint32_t key0_ = 0, key1_ = 0, key2_ = 0;
};

// Writes the header at once, then encrypts everything written.
class TZipEncryptStream final : public TStream {
 public:
  TZipEncryptStream(TStream& target, const std::string& password, std::uint32_t check);
  std::size_t Read(void* buffer, std::size_t count) override;  // not supported: throws
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override;

 private:
  TStream& target_;
  TZipCipher cipher_;
  std::vector<std::uint8_t> scratch_;
};

// Decrypts what it reads once IsValid() has accepted the header.
class TZipDecryptStream final : public TStream {
 public:
  TZipDecryptStream(TStream& source, const std::string& password, std::uint32_t check);
  // Reads 12 bytes ("Stream read error" when fewer) and verifies them; on
  // failure seeks the source back to where it was.
  bool IsValid();
  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;  // not supported: throws
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override;

 private:
  TStream& source_;
  std::string password_;
  std::uint32_t check_;
  TZipCipher cipher_;
  bool ready_ = false;
};
