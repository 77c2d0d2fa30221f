#include "archive/zip/zip_member_in.h"

#include <string.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "archive/zip/aes_extra.h"
#include "archive/crypto/aes_streams.h"
#include "archive/archive_errors.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate_helper.h"
#include "archive/codec/inflate.h"
#include "archive/zip/site_list_member.h"
#include "archive/zip/zip_archive.h"
#include "archive/crypto/zip_crypto.h"

namespace {

constexpr std::size_t kStoreChunk = 1024;
constexpr const char* kLargerThanDeclared =
    "Pellam inflate error, possibly a corrupted compressed stream. (Internal cause: "
    "output larger than the member's declared size)";

// Takes inflated output up to the size the directory declares and refuses
// more, so a member can never make memory grow past what it claims.
class TDeclaredSizeSink final : public TStream {
 public:
  TDeclaredSizeSink(TMemoryStream& target, std::int64_t limit) : target_(target), limit_(limit) {}
  std::size_t Read(void*, std::size_t) override { throw EStreamError("Stream read error"); }
  std::size_t Write(const void* buffer, std::size_t count) override {
    if (target_.Size() + static_cast<std::int64_t>(count) > limit_) {
      throw EPlInflateError(kLargerThanDeclared);
    }
    return target_.Write(buffer, count);
  }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    return target_.Seek(offset, origin);
  }
  std::int64_t Size() override { return target_.Size(); }

 private:
  TMemoryStream& target_;
  std::int64_t limit_;
};

// Where the member's data is produced. Usually the caller's buffer is an
// empty memory stream and the data goes straight into it, so it is held
// once; otherwise into a buffer of its own that is appended once complete.
// Unless committed, the caller's stream is left as it was.
class TStaging {
 public:
  explicit TStaging(TStream& dest) : dest_(dest), direct_(dynamic_cast<TMemoryStream*>(&dest)) {
    if (direct_ && direct_->Size() != 0) direct_ = nullptr;
  }
  ~TStaging() {
    if (!committed_ && direct_) direct_->Clear();
  }
  TStaging(const TStaging&) = delete;
  TStaging& operator=(const TStaging&) = delete;

  TMemoryStream& Buffer() { return direct_ ? *direct_ : own_; }
  void Commit() {
    if (!direct_ && own_.Size() > 0) dest_.WriteExact(own_.Bytes().data(), own_.Bytes().size());
    committed_ = true;
  }

 private:
  TStream& dest_;
  TMemoryStream* direct_;
  TMemoryStream own_;
  bool committed_ = false;
};

struct TMemberData {
  std::int64_t start = 0;
  std::uint16_t method = 0;  // for AES members the real one, from the extra field
  std::uint32_t check = 0;
  bool encrypted = false;
  std::optional<TAesExtra> aes;

  // Bytes of the member data that are not compressed data.
  std::int64_t Overhead() const {
    if (aes) return static_cast<std::int64_t>(AesOverhead(aes->Strength));
    return encrypted ? static_cast<std::int64_t>(kEncryptionHeaderSize) : 0;
  }
};

// AES members carry their strength and real method in the directory entry's
// extra field; some writers put it in the local header only.
TAesExtra AesExtraOf(const TZipItem& item, const TZipLocalHeader& local) {
  auto aes = FindAesExtra(item.Extra);
  if (!aes) aes = FindAesExtra(local.Extra);
  if (!aes) ThrowZipError(TZipErrorCode::UnsupportedMethod);
  return *aes;
}

TMemberData LocateData(TZipArchive& archive, const TZipItem& item) {
  // AES writers declare version 5.1 or 2.0; the method alone says what is
  // needed, and the reader has it.
  if (item.Method != kMethodAes && (item.VersionNeeded & 0xFF) > 20)
    ThrowZipError(TZipErrorCode::NewerVersion);
  TStream& file = archive.File();
  if (item.LocalHeaderOffset >= file.Size()) ThrowZipError(TZipErrorCode::NotZip);
  file.SetPosition(item.LocalHeaderOffset);
  TZipLocalHeader local = ReadLocalHeader(file);
  TMemberData data;
  data.start = file.Position();
  data.method = local.Method;
  data.encrypted = (item.Flags & zip_flag::kEncrypted) != 0;
  // Writers that stream their output set bit 3 and check against the time.
  data.check = (local.Flags & zip_flag::kDescriptor) ? static_cast<std::uint32_t>(local.Time) << 16
                                                     : item.Crc32;
  if (item.Method == kMethodAes || local.Method == kMethodAes) {
    data.aes = AesExtraOf(item, local);
    data.method = data.aes->Method;
    data.encrypted = true;
  }
  if (data.method != 0 && data.method != 8 && data.method != 9)
    ThrowZipError(TZipErrorCode::UnsupportedMethod);
  if (data.start + static_cast<std::int64_t>(item.CompressedSize) > file.Size()) {
    throw EStreamError("Stream read error");
  }
  // Too short to hold even its encryption header: damaged, whatever the
  // password, so no password is asked for.
  if (static_cast<std::int64_t>(item.CompressedSize) < data.Overhead())
    ThrowZipError(TZipErrorCode::NotZip);
  return data;
}

std::string Ask(const TAskPassword& askPassword) {
  std::string answer;
  if (askPassword) askPassword(answer);
  return answer;
}

// Tries the archive's password, then the ones askPassword gives, as often as
// the archive allows, until accepts takes one; that one stays the archive's.
void AcceptPassword(TZipArchive& archive, const TAskPassword& askPassword,
                    const std::function<bool(const std::string&)>& accepts) {
  if (archive.Password.empty()) {
    archive.Password = Ask(askPassword);
    if (archive.Password.empty()) ThrowZipError(TZipErrorCode::InvalidPassword);
  }
  for (int retries = 0;; ++retries) {
    if (accepts(archive.Password)) return;
    if (retries >= archive.PasswordRetries) ThrowZipError(TZipErrorCode::InvalidPassword);
    std::string answer = Ask(askPassword);
    if (answer.empty()) ThrowZipError(TZipErrorCode::Aborted);
    archive.Password = answer;
  }
}

std::uint32_t CopyStored(TStream& payload, TStream& out, const TZipItem& item,
                         std::int64_t available) {
  if (static_cast<std::int64_t>(item.UncompressedSize) > available) {
    throw EStreamError("Stream read error");
  }
  std::vector<char> chunk(kStoreChunk);
  std::uint32_t crc = 0xFFFFFFFFu;
  std::int64_t left = item.UncompressedSize;
  while (left > 0) {
    auto want = static_cast<std::size_t>(std::min<std::int64_t>(left, kStoreChunk));
    payload.ReadExact(chunk.data(), want);
    crc = Crc32Update(crc, chunk.data(), want);
    out.WriteExact(chunk.data(), want);
    left -= static_cast<std::int64_t>(want);
  }
  // The chunk held the member's plain text.
  explicit_bzero(chunk.data(), chunk.size());
  return ~crc;
}

// The most a compressed stream of that many bytes can decode to: a Deflate
// match of 258 bytes takes at least two bits, and a Deflate64 match of 65,538
// bytes at least 18 (its 16 extra length bits and two code bits).
std::int64_t MostOutputOf(std::int64_t compressed, std::uint16_t method) {
  constexpr std::int64_t kDeflateRatio = 258 * 4;
  constexpr std::int64_t kDeflate64Ratio = 65538 * 8 / 18 + 1;
  const std::int64_t ratio = method == 9 ? kDeflate64Ratio : kDeflateRatio;
  const std::int64_t bytes = std::max<std::int64_t>(compressed, 0);
  return bytes > std::numeric_limits<std::int64_t>::max() / ratio ? bytes : bytes * ratio + 1;
}

std::uint32_t InflateMember(TStream& payload, TMemoryStream& out, const TZipItem& item,
                            std::uint16_t method, std::int64_t available) {
  TPlDeflateHelper helper;
  if (method == 9) helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
  helper.InputSize = static_cast<std::int32_t>(available);
  const std::int64_t declared = item.UncompressedSize;
  if (declared >= std::numeric_limits<std::int32_t>::max()) {
    // Beyond what the output limit can express: the sink refuses the excess.
    TDeclaredSizeSink sink(out, declared);
    return Inflate(payload, sink, &helper);
  }
  // Decoded straight into out, reserved for the declared size as far as
  // any member may be and its compressed bytes can give: a header that lies
  // costs no more room than the data could fill, and decoding stops one byte
  // past the declared size, which is refused.
  const std::int64_t reachable = MostOutputOf(available, method);
  ReserveInflateOutput(out, static_cast<std::size_t>(std::min(
                                {declared, reachable, static_cast<std::int64_t>(kMaxSiteListSize)})));
  helper.OutputLimit = static_cast<std::int32_t>(declared + 1);
  const std::uint32_t crc = Inflate(payload, out, &helper);
  if (helper.OutputSize > declared) throw EPlInflateError(kLargerThanDeclared);
  return crc;
}

// Copies or inflates the plain member data; returns its CRC-32.
std::uint32_t Decode(TStream& payload, TMemoryStream& out, const TZipItem& item,
                     std::uint16_t method, std::int64_t available) {
  if (method == 0) return CopyStored(payload, out, item, available);
  try {
    return InflateMember(payload, out, item, method, available);
  } catch (const EPlInflatePasswordError&) {
    ThrowZipError(TZipErrorCode::Aborted);
  }
}

// Unencrypted or traditionally encrypted data.
std::uint32_t ReadClassic(TZipArchive& archive, const TZipItem& item, const TMemberData& data,
                          TMemoryStream& out, const TAskPassword& askPassword) {
  TSubStream raw(archive.File(), data.start, item.CompressedSize);
  std::unique_ptr<TZipDecryptStream> decrypt;
  if (data.encrypted) {
    AcceptPassword(archive, askPassword, [&](const std::string& password) {
      decrypt = std::make_unique<TZipDecryptStream>(raw, password, data.check);
      return decrypt->IsValid();
    });
  }
  TStream& payload = decrypt ? static_cast<TStream&>(*decrypt) : raw;
  return Decode(payload, out, item, data.method, item.CompressedSize - data.Overhead());
}

// AES data: the verifier decides whether a password is tried further, and
// the authentication code is checked over all the encrypted bytes before
// any of them is decrypted.
std::uint32_t ReadAes(TZipArchive& archive, const TZipItem& item, const TMemberData& data,
                      TMemoryStream& out, const TAskPassword& askPassword) {
  const int strength = data.aes->Strength;
  const auto saltSize = static_cast<std::int64_t>(AesSaltSize(strength));
  const std::int64_t cipherStart = saltSize + 2;
  const std::int64_t cipherSize = item.CompressedSize - data.Overhead();
  TSubStream raw(archive.File(), data.start, item.CompressedSize);
  std::vector<std::uint8_t> head(static_cast<std::size_t>(cipherStart));
  raw.ReadExact(head.data(), head.size());
  TAesAuthCode stored{};
  raw.SetPosition(cipherStart + cipherSize);
  raw.ReadExact(stored.data(), stored.size());

  std::unique_ptr<TAesKeys> keys;
  AcceptPassword(archive, askPassword, [&](const std::string& password) {
    keys = std::make_unique<TAesKeys>(password, head.data(), strength);
    const auto verifier = keys->Verifier();
    return verifier[0] == head[saltSize] && verifier[1] == head[saltSize + 1];
  });
  TSubStream cipher(archive.File(), data.start + cipherStart, cipherSize);
  if (!SameAuthCode(AuthenticateAes(cipher, *keys), stored))
    ThrowZipError(TZipErrorCode::Authentication);
  cipher.SetPosition(0);
  TAesDecryptStream plain(cipher, *keys);
  const std::uint32_t crc = Decode(plain, out, item, data.method, cipherSize);
  // Checked again over the bytes actually decrypted: the file may have been
  // changed by someone else since the first check.
  if (!SameAuthCode(plain.Final(), stored)) ThrowZipError(TZipErrorCode::Authentication);
  return crc;
}

}  // namespace

void ExtractMemberData(TZipArchive& archive, const TZipItem& item, TStream& dest,
                       const TAskPassword& askPassword) {
  const TMemberData data = LocateData(archive, item);
  TStaging staging(dest);
  const std::uint32_t crc = data.aes
                                ? ReadAes(archive, item, data, staging.Buffer(), askPassword)
                                : ReadClassic(archive, item, data, staging.Buffer(), askPassword);
  staging.Commit();
  // AE-2 stores no CRC; its authentication code has already vouched for the data.
  const bool crcStored = !data.aes || data.aes->Version == TAesVendorVersion::Ae1;
  if (crcStored && crc != item.Crc32) ThrowZipError(TZipErrorCode::CrcFailed);
}
