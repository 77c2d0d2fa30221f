#include "archive/zip/zip_member_out.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "archive/zip/aes_extra.h"
#include "archive/zip/hardened_extra.h"
#include "archive/crypto/aes_streams.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/deflate_helper.h"
#include "archive/crypto/zip_crypto.h"

namespace {

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;
constexpr std::size_t kStoreChunk = 1024;
constexpr std::uint16_t kVersionAes = 51;

std::uint32_t CheckValue(const TZipDirectoryEntry& entry) {
  return static_cast<std::uint32_t>(entry.Time) << 16;
}

char LevelLetter(TDeflationOption option) {
  switch (option) {
    case TDeflationOption::doMaximum:
      return 'x';
    case TDeflationOption::doFast:
      return 'f';
    case TDeflationOption::doSuperFast:
      return 's';
    case TDeflationOption::doNormal:
      break;
  }
  return 'n';
}

// General-purpose flag bits 1 and 2 name the deflation level.
std::uint16_t LevelFlags(TDeflationOption option) {
  switch (option) {
    case TDeflationOption::doMaximum:
      return 0x2;
    case TDeflationOption::doFast:
      return 0x4;
    case TDeflationOption::doSuperFast:
      return 0x6;
    case TDeflationOption::doNormal:
      break;
  }
  return 0;
}

// The traditional encryption around what is written to out (none without a
// password), the way AES wraps it.
std::unique_ptr<TZipEncryptStream> TraditionalEncryption(TStream& out, const std::string& password,
                                                         std::uint32_t check) {
  if (password.empty()) return nullptr;
  return std::make_unique<TZipEncryptStream>(out, password, check);
}

// Copies the source as it is, through the encryption when there is a
// password; returns the CRC-32 of the plain bytes.
std::uint32_t StoreData(TStream& source, TStream& out, const std::string& password,
                        std::uint32_t check) {
  std::unique_ptr<TZipEncryptStream> encrypt = TraditionalEncryption(out, password, check);
  TStream& target = encrypt ? static_cast<TStream&>(*encrypt) : out;
  std::vector<char> chunk(kStoreChunk);
  std::uint32_t crc = 0xFFFFFFFFu;
  while (std::size_t got = source.Read(chunk.data(), chunk.size())) {
    crc = Crc32Update(crc, chunk.data(), got);
    target.WriteExact(chunk.data(), got);
  }
  return ~crc;
}

// Deflates the source into out, which the caller may have wrapped in an
// encryption stream.
std::uint32_t DeflateData(TStream& source, TStream& out, TDeflationOption deflation,
                          std::int64_t size) {
  TPlDeflateHelper helper;
  // A new record already holds letter n with other parameters, so the
  // letter is first reset for the level's own parameters to take effect.
  helper.SetLevelLetter('0');
  helper.SetLevelLetter(LevelLetter(deflation));
  helper.InputSize = static_cast<std::int32_t>(size);
  return Deflate(source, out, &helper);
}

bool UsesAes(const TZipMemberSettings& settings) {
  return !settings.Password.empty() && IsAes(settings.Encryption);
}

// Salt, verifier, the deflated or stored data encrypted, authentication
// code; each attempt draws its own salt, so no key stream is used twice.
std::uint32_t ProduceAes(TStream& source, TMemoryStream& out, const TZipMemberSettings& settings,
                         std::int64_t size, bool deflate) {
  TAesEncryptStream encrypt(out, settings.Password, kAesStrength256);
  const std::uint32_t crc = deflate ? DeflateData(source, encrypt, settings.Deflation, size)
                                    : StoreData(source, encrypt, {}, 0);
  encrypt.Finish();
  return crc;
}

// AE-2: the CRC is stored as 0 (the authentication code protects the data
// and a CRC of the plain text would tell about it); method 99 with the real
// method in the extra field; no descriptor.
void MarkAes(TZipDirectoryEntry& entry, bool deflated, const TZipMemberSettings& settings) {
  const TDeflationOption deflation = settings.Deflation;
  TAesExtra aes;
  aes.Version = TAesVendorVersion::Ae2;
  aes.Strength = kAesStrength256;
  aes.Method = deflated ? kMethodDeflated : kMethodStored;
  entry.Extra = BuildAesExtra(aes);
  if (settings.Encryption == TEncryption::Aes256Hardened) {
    if (!settings.Hardened) throw std::logic_error("A hardened member needs its key's record");
    entry.Extra += BuildHardenedExtra(*settings.Hardened);
  }
  entry.Method = kMethodAes;
  entry.VersionNeeded = kVersionAes;
  entry.Crc32 = 0;
  entry.Flags = zip_flag::kEncrypted | (deflated ? LevelFlags(deflation) : 0);
}

// The best-method rule: deflated data larger than the data is dropped for
// the stored form. Salt, verifier and code cost the same either way, so they
// take no part in the choice.
std::string ProduceAesMemberData(TZipDirectoryEntry& entry, TStream& source,
                                 const TZipMemberSettings& settings, std::int64_t size) {
  TMemoryStream out;
  bool deflate = size > 0 && settings.Method != TCompressionMethodToUse::smStored;
  if (deflate) {
    ProduceAes(source, out, settings, size, true);
    const auto deflated = out.Size() - static_cast<std::int64_t>(AesOverhead(kAesStrength256));
    if (settings.Method == TCompressionMethodToUse::smBestMethod && deflated > size) {
      deflate = false;
      out.Clear();
      source.SetPosition(0);
    }
  }
  if (!deflate) ProduceAes(source, out, settings, size, false);
  MarkAes(entry, deflate, settings);
  entry.CompressedSize = static_cast<std::uint32_t>(out.Size());
  return out.TakeBytes();
}

void MarkStored(TZipDirectoryEntry& entry, std::uint32_t crc) {
  entry.Method = kMethodStored;
  entry.VersionNeeded = 10;
  entry.Crc32 = crc;
}

}  // namespace

std::string ProduceMemberData(TZipDirectoryEntry& entry, TStream& source,
                              const TZipMemberSettings& settings) {
  source.SetPosition(0);
  const std::int64_t size = source.Size();
  const std::uint32_t check = CheckValue(entry);
  entry.UncompressedSize = static_cast<std::uint32_t>(size);
  entry.Flags = 0;
  entry.InternalAttributes = 0;
  entry.ExternalAttributes = 0;
  entry.VersionMadeBy = 20;
  entry.Extra.clear();
  if (UsesAes(settings)) return ProduceAesMemberData(entry, source, settings, size);
  TMemoryStream out;
  bool deflate = size > 0 && settings.Method != TCompressionMethodToUse::smStored;
  if (deflate) {
    std::uint32_t crc = 0;
    {
      std::unique_ptr<TZipEncryptStream> encrypt =
          TraditionalEncryption(out, settings.Password, check);
      crc = DeflateData(source, encrypt ? static_cast<TStream&>(*encrypt) : out,
                        settings.Deflation, size);
    }
    // Best method: deflated output larger than the data is dropped; equal
    // sizes keep the deflated form.
    if (settings.Method == TCompressionMethodToUse::smBestMethod && out.Size() > size) {
      deflate = false;
      out.Clear();
      source.SetPosition(0);
    } else {
      entry.Method = kMethodDeflated;
      entry.VersionNeeded = 20;
      entry.Crc32 = crc;
      entry.Flags = LevelFlags(settings.Deflation);
    }
  }
  if (!deflate) MarkStored(entry, StoreData(source, out, settings.Password, check));
  if (!settings.Password.empty()) entry.Flags |= 0x0009;
  entry.CompressedSize = static_cast<std::uint32_t>(out.Size());
  return out.TakeBytes();
}
