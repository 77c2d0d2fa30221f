// Deflate: prepares the settings and the output (encryption when a password
// is set), then runs stored mode or the matcher, and turns internal failures
// into the error the caller sees.
#include "archive/codec/deflate.h"

#include <cmath>
#include <memory>
#include <vector>

#include "archive/codec/adler32.h"
#include "archive/codec/codec_errors.h"
#include "archive/codec/codec_log.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate_bit_writer.h"
#include "archive/codec/deflate_block_writer.h"
#include "archive/codec/deflate_matcher.h"
#include "archive/codec/deflate_tables.h"
#include "archive/crypto/zip_crypto.h"

namespace {

BlockKinds KindsOf(std::uint32_t options) {
  switch (options & 7) {
    case deflate_options::kStored:
      return BlockKinds::StoredOnly;
    case deflate_options::kFixed:
      return BlockKinds::FixedOnly;
    case deflate_options::kDynamic:
      return BlockKinds::DynamicOnly;
    default:
      return BlockKinds::Smallest;
  }
}

// Reads up to count bytes, stopping only at the end of the source.
std::size_t ReadFull(TStream& source, std::uint8_t* dest, std::size_t count) {
  std::size_t total = 0;
  while (total < count) {
    std::size_t got = source.Read(dest + total, count - total);
    if (got == 0) break;
    total += got;
  }
  return total;
}

// Stored mode: pieces of at most 65,535 bytes straight from the source.
std::uint32_t DeflateStored(TStream& source, TPlDfOutBitStream& out, const TPlDeflateHelper& s) {
  const bool adler = (s.Options() & deflate_options::kAdler32) != 0;
  std::uint32_t sum = adler ? 1u : 0xFFFFFFFFu;
  std::int64_t size = s.InputSize > 0 ? s.InputSize : source.Size() - source.Position();
  std::vector<std::uint8_t> piece(deflate_tables::kMaxStoredBlock);
  std::int64_t done = 0;
  while (done < size) {
    auto want = static_cast<std::size_t>(
        std::min<std::int64_t>(size - done, deflate_tables::kMaxStoredBlock));
    std::size_t got = ReadFull(source, piece.data(), want);
    if (got == 0) break;
    done += static_cast<std::int64_t>(got);
    bool final = done >= size || got < want;
    WriteStored(out, piece.data(), got, final);
    sum = adler ? Adler32Update(sum, piece.data(), got) : Crc32Update(sum, piece.data(), got);
    if (s.ProgressCallback && s.InputSize > 0)
      s.ProgressCallback(static_cast<int>(std::lround(done * 100.0 / s.InputSize)));
    if (final) break;
  }
  out.Flush();
  return adler ? sum : ~sum;
}

void PrepareSettings(TPlDeflateHelper& s, TStream& source) {
  if (!s.ProgressCallback) {
    s.InputSize = 0;
  } else if (s.InputSize == -1) {
    s.InputSize = static_cast<std::int32_t>(source.Size());
  }
  if ((s.Options() & deflate_options::kLazy) == 0) s.SetLazyLimit(0);
}

}  // namespace

std::uint32_t Deflate(TStream& source, TStream& dest, TPlDeflateHelper* helper) {
  TPlDeflateHelper settings = helper ? *helper : TPlDeflateHelper();
  WriteCodecLog(settings.LogFileName, "DEFLATING STREAM...");
  PrepareSettings(settings, source);
  const std::int64_t sourceStart = source.Position();
  const std::int64_t destStart = dest.Position();
  std::uint32_t checksum = 0;
  {
    std::unique_ptr<TZipEncryptStream> encrypt;
    if (!settings.PasswordText.empty())
      encrypt =
          std::make_unique<TZipEncryptStream>(dest, settings.PasswordText, settings.CheckWord);
    TStream& output = encrypt ? static_cast<TStream&>(*encrypt) : dest;
    TPlDfOutBitStream out(output);
    try {
      BlockKinds kinds = KindsOf(settings.Options());
      if (kinds == BlockKinds::StoredOnly) {
        checksum = DeflateStored(source, out, settings);
      } else {
        checksum = DeflateStaticDynamic(source, out, settings, kinds);
        out.Flush();
      }
    } catch (const EPlInternalDeflateError& e) {
      throw EPlDeflateError(std::string("Pellam deflate error. (Internal cause: ") + e.what() +
                            ")");
    }
  }
  if (helper) {
    helper->ConsumedSize = static_cast<std::int32_t>(source.Position() - sourceStart);
    helper->OutputSize = static_cast<std::int32_t>(dest.Position() - destStart);
  }
  return checksum;
}
