#include "archive/zip_member_in.h"

#include <limits>
#include <memory>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/crc32.h"
#include "archive/deflate_helper.h"
#include "archive/inflate.h"
#include "archive/zip_archive.h"
#include "archive/zip_crypto.h"

namespace {

constexpr int kNewerVersion = 1;
constexpr int kUnsupportedMethod = 2;
constexpr int kInvalidPassword = 4;
constexpr int kAborted = 9;
constexpr int kCrcFailed = 23;
constexpr std::size_t kStoreChunk = 1024;

// Takes inflated output up to the size the directory declares and refuses
// more, so a member can never make memory grow past what it claims.
class TDeclaredSizeSink final : public TStream {
 public:
  TDeclaredSizeSink(TMemoryStream& target, std::int64_t limit) : target_(target), limit_(limit) {}
  std::size_t Read(void*, std::size_t) override { throw EStreamError("Stream read error"); }
  std::size_t Write(const void* buffer, std::size_t count) override {
    if (target_.Size() + static_cast<std::int64_t>(count) > limit_) {
      throw EPlInflateError(
          "Pellam inflate error, possibly a corrupted compressed stream. (Internal cause: "
          "output larger than the member's declared size)");
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

struct TMemberData {
  std::int64_t start = 0;
  std::uint16_t method = 0;
  std::uint32_t check = 0;
};

TMemberData LocateData(TZipArchive& archive, const TZipItem& item) {
  if ((item.VersionNeeded & 0xFF) > 20) ThrowZipError(kNewerVersion);
  TStream& file = archive.File();
  if (item.LocalHeaderOffset >= file.Size()) ThrowZipError(28);
  file.SetPosition(item.LocalHeaderOffset);
  TZipLocalHeader local = ReadLocalHeader(file);
  TMemberData data;
  data.start = file.Position();
  data.method = local.Method;
  // Writers that stream their output set bit 3 and check against the time.
  data.check = (local.Flags & zip_flag::kDescriptor) ? static_cast<std::uint32_t>(local.Time) << 16
                                                     : item.Crc32;
  if (data.method != 0 && data.method != 8 && data.method != 9) ThrowZipError(kUnsupportedMethod);
  if (data.start + static_cast<std::int64_t>(item.CompressedSize) > file.Size()) {
    throw EStreamError("Stream read error");
  }
  return data;
}

std::string Ask(const TAskPassword& askPassword) {
  std::string answer;
  if (askPassword) askPassword(answer);
  return answer;
}

// Verifies the encryption header, asking for other passwords as allowed.
std::unique_ptr<TZipDecryptStream> OpenDecryption(TZipArchive& archive, TStream& source,
                                                  std::uint32_t check,
                                                  const TAskPassword& askPassword) {
  if (archive.Password.empty()) {
    archive.Password = Ask(askPassword);
    if (archive.Password.empty()) ThrowZipError(kInvalidPassword);
  }
  for (int retries = 0;; ++retries) {
    auto decrypt = std::make_unique<TZipDecryptStream>(source, archive.Password, check);
    if (decrypt->IsValid()) return decrypt;
    if (retries >= archive.PasswordRetries) ThrowZipError(kInvalidPassword);
    std::string answer = Ask(askPassword);
    if (answer.empty()) ThrowZipError(kAborted);
    archive.Password = answer;
  }
}

std::uint32_t CopyStored(TStream& payload, TStream& out, const TZipItem& item, bool encrypted) {
  std::int64_t available = static_cast<std::int64_t>(item.CompressedSize) -
                           (encrypted ? static_cast<std::int64_t>(kEncryptionHeaderSize) : 0);
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
  return ~crc;
}

std::uint32_t InflateMember(TStream& payload, TMemoryStream& out, const TZipItem& item,
                            std::uint16_t method) {
  TPlDeflateHelper helper;
  if (method == 9) helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
  std::int64_t declared = item.UncompressedSize;
  // The decoder stops one byte past the declared size; the sink refuses it.
  if (declared < std::numeric_limits<std::int32_t>::max()) {
    helper.OutputLimit = static_cast<std::int32_t>(declared + 1);
  }
  helper.InputSize = static_cast<std::int32_t>(item.CompressedSize);
  TDeclaredSizeSink sink(out, declared);
  return Inflate(payload, sink, &helper);
}

}  // namespace

void ExtractMemberData(TZipArchive& archive, const TZipItem& item, TStream& dest,
                       const TAskPassword& askPassword) {
  TMemberData data = LocateData(archive, item);
  TSubStream raw(archive.File(), data.start, item.CompressedSize);
  const bool encrypted = (item.Flags & zip_flag::kEncrypted) != 0;
  std::unique_ptr<TZipDecryptStream> decrypt;
  if (encrypted) decrypt = OpenDecryption(archive, raw, data.check, askPassword);
  TStream& payload = decrypt ? static_cast<TStream&>(*decrypt) : raw;

  TMemoryStream staged;
  std::uint32_t crc = 0;
  if (data.method == 0) {
    crc = CopyStored(payload, staged, item, encrypted);
  } else {
    try {
      crc = InflateMember(payload, staged, item, data.method);
    } catch (const EPlInflatePasswordError&) {
      ThrowZipError(kAborted);
    }
  }
  if (staged.Size() > 0) dest.WriteExact(staged.Bytes().data(), staged.Bytes().size());
  if (crc != item.Crc32) ThrowZipError(kCrcFailed);
}
