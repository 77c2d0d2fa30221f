// Deflate: the settings record, the log and the traditional encryption
// around the codec core, as AES encryption wraps it for AES members.
#include "archive/codec/deflate.h"

#include <memory>

#include "archive/codec/codec_log.h"
#include "archive/codec/deflate_core.h"
#include "archive/crypto/zip_crypto.h"

std::uint32_t Deflate(TStream& source, TStream& dest, TPlDeflateHelper* helper) {
  TPlDeflateHelper settings = helper ? *helper : TPlDeflateHelper();
  WriteCodecLog(settings.LogFileName, "DEFLATING STREAM...");
  std::int64_t inputSize = 0;
  if (settings.ProgressCallback)
    inputSize = settings.InputSize == -1 ? source.Size() : settings.InputSize;
  // Without lazy matching the lazy limit is set to 0, which the setting rule
  // raises to its smallest value (and which leaves the letter custom).
  if ((settings.Options() & deflate_options::kLazy) == 0) settings.SetLazyLimit(0);
  const std::int64_t sourceStart = source.Position();
  const std::int64_t destStart = dest.Position();
  std::uint32_t checksum = 0;
  {
    std::unique_ptr<TZipEncryptStream> encrypt;
    if (!settings.PasswordText.empty())
      encrypt =
          std::make_unique<TZipEncryptStream>(dest, settings.PasswordText, settings.CheckWord);
    checksum = DeflateCore(source, encrypt ? static_cast<TStream&>(*encrypt) : dest,
                           settings.CodecCall(inputSize));
  }
  if (helper) {
    helper->ConsumedSize = static_cast<std::int32_t>(source.Position() - sourceStart);
    helper->OutputSize = static_cast<std::int32_t>(dest.Position() - destStart);
  }
  return checksum;
}
