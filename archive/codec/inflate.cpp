// Inflate: the settings record, the log and the traditional decryption
// around the codec core, as AES decryption wraps it for AES members.
#include "archive/codec/inflate.h"

#include <memory>

#include "archive/codec/codec_log.h"
#include "archive/codec/inflate_core.h"
#include "archive/codec/inflate_window.h"
#include "archive/crypto/zip_crypto.h"

namespace {

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
  const TPlDeflateHelper settings = helper ? *helper : TPlDeflateHelper();
  WriteCodecLog(settings.LogFileName, "INFLATING STREAM...");
  const std::int64_t sourceStart = source.Position();
  const std::int64_t destStart = dest.Position();
  const std::int64_t inputSize =
      settings.ProgressCallback && settings.InputSize == -1 ? source.Size() : settings.InputSize;
  TInflateOutcome outcome;
  {
    std::unique_ptr<TZipDecryptStream> decrypt = OpenDecryption(source, settings);
    outcome = InflateCore(decrypt ? static_cast<TStream&>(*decrypt) : source, dest,
                          settings.CodecCall(inputSize));
  }
  if (helper) {
    const bool testOnly = (settings.Options() & deflate_options::kTestOnly) != 0;
    helper->OutputSize =
        testOnly ? static_cast<std::int32_t>(outcome.produced) : BytesSince(dest, destStart);
    helper->ConsumedSize = BytesSince(source, sourceStart);
  }
  return outcome.checksum;
}

void ReserveInflateOutput(TMemoryStream& dest, std::size_t expectedSize) {
  dest.Reserve(static_cast<std::size_t>(dest.Position()) + expectedSize +
               TPlDfOutputWindow::kSlack + TPlDfOutputWindow::kMinPiece);
}
