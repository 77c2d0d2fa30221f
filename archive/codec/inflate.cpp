// Inflate: sets up the streams for one call, runs the block decoder and turns
// internal failures into the errors the caller sees.
#include "archive/codec/inflate.h"

#include <memory>

#include "archive/codec/codec_errors.h"
#include "archive/codec/codec_log.h"
#include "archive/codec/inflate_decoder.h"
#include "archive/crypto/zip_crypto.h"

namespace {

constexpr const char* kInflatePrefix =
    "Pellam inflate error, possibly a corrupted compressed stream. (Internal cause: ";

// How far the stream's position has moved since start.
std::int32_t BytesSince(TStream& stream, std::int64_t start) {
  return static_cast<std::int32_t>(stream.Position() - start);
}

// Opens the decryption stream when a password is set; throws the password
// error when the encryption header does not match.
std::unique_ptr<TZipDecryptStream> OpenDecryption(TStream& source, const TPlDeflateHelper& h) {
  if (h.PasswordText.empty()) return nullptr;
  auto decrypt = std::make_unique<TZipDecryptStream>(source, h.PasswordText, h.CheckWord);
  if (!decrypt->IsValid())
    throw EPlInflatePasswordError("Inflate: stream is encrypted but passphrase is wrong");
  return decrypt;
}

}  // namespace

std::uint32_t Inflate(TStream& source, TStream& dest, TPlDeflateHelper* helper) {
  TPlDeflateHelper settings = helper ? *helper : TPlDeflateHelper();
  WriteCodecLog(settings.LogFileName, "INFLATING STREAM...");
  const std::int64_t sourceStart = source.Position();
  const std::int64_t destStart = dest.Position();
  std::int64_t inputSize = 0;
  if (settings.ProgressCallback)
    inputSize = settings.InputSize == -1 ? source.Size() : settings.InputSize;

  const std::uint32_t options = settings.Options();
  const bool testOnly = (options & deflate_options::kTestOnly) != 0;
  std::uint32_t checksum = 0;
  std::int64_t counted = 0;
  bool stopped = false;
  {
    std::unique_ptr<TZipDecryptStream> decrypt = OpenDecryption(source, settings);
    TStream& input = decrypt ? static_cast<TStream&>(*decrypt) : source;
    TPlDfOutputWindow window(dest, (options & deflate_options::kDeflate64) != 0, testOnly,
                             (options & deflate_options::kAdler32) != 0, settings.OutputLimit);
    TPlDfInBitStream bits(input, inputSize, settings.ProgressCallback);
    try {
      TPlDfInflater(bits, window, (options & deflate_options::kDeflate64) != 0).Run();
      checksum = window.Finish();
      bits.Finish();
    } catch (const EPlInternalInflateError& e) {
      throw EPlInflateError(std::string(kInflatePrefix) + e.what() + ")");
    } catch (const EPlPartSizedInflate&) {
      stopped = true;
    } catch (const EPlAbortProgress&) {
      stopped = true;
    }
    counted = window.Produced();
  }
  if (stopped) checksum = 0;
  if (helper) {
    helper->OutputSize =
        testOnly ? static_cast<std::int32_t>(counted) : BytesSince(dest, destStart);
    helper->ConsumedSize = BytesSince(source, sourceStart);
  }
  return checksum;
}
