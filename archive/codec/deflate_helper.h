#pragma once
// Settings record shared by the Inflate decoder and the Deflate encoder.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "archive/codec/codec_call.h"
#include "archive/codec/deflate_tuning.h"

namespace deflate_options {
constexpr std::uint32_t kStored = 0x1;
constexpr std::uint32_t kFixed = 0x2;
constexpr std::uint32_t kDynamic = 0x4;
constexpr std::uint32_t kLazy = 0x8;
constexpr std::uint32_t kDeflate64 = 0x10;
constexpr std::uint32_t kAdler32 = 0x20;
constexpr std::uint32_t kTestOnly = 0x40000000;
}  // namespace deflate_options

// One codec call's settings, logging, progress, password and results. The
// codec core itself sees only the TCodecCall built from it (CodecCall()); the
// password is applied by Inflate and Deflate around the core.
class TPlDeflateHelper {
 public:
  TPlDeflateHelper();

  std::int32_t SufficientLength() const { return tuning_.sufficientLength; }
  std::int32_t ChainLimit() const { return tuning_.chainLimit; }
  std::int32_t LazyLimit() const { return tuning_.lazyLimit; }
  const TDeflateTuning& Tuning() const { return tuning_; }
  std::uint32_t Options() const { return options_; }
  char LevelLetter() const { return levelLetter_; }
  // Setting rule: equal value changes nothing; below 4 becomes 4 (but -1
  // stays, meaning unlimited); any change makes the level letter '?'.
  void SetSufficientLength(std::int32_t value);
  void SetChainLimit(std::int32_t value);
  void SetLazyLimit(std::int32_t value);
  void SetOptions(std::uint32_t value);
  // Level letters 0, 2, f, n, s, x (either case); others change nothing.
  void SetLevelLetter(char letter);

  // What the codec core needs of this record; inputSize as the caller
  // resolved it for progress (0: no reports).
  TCodecCall CodecCall(std::int64_t inputSize) const;

  std::uint32_t CheckWord = 0xFFFFFFFFu;
  std::string LogFileName;
  std::function<void(int percent)> ProgressCallback;
  std::int32_t OutputLimit = 0;
  std::string PasswordText;
  std::int32_t ConsumedSize = 0;
  std::int32_t OutputSize = 0;
  std::int32_t InputSize = 0;
  std::uint32_t WindowBytes = 32768;

 private:
  void SetTuned(std::int32_t TDeflateTuning::*field, std::int32_t value);

  TDeflateTuning tuning_;
  std::uint32_t options_ = 15;
  char levelLetter_ = 'n';
};

// Corrupt compressed data: "Pellam inflate error, possibly a corrupted
// compressed stream. (Internal cause: <cause>)".
class EPlInflateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// "Inflate: stream is encrypted but passphrase is wrong".
class EPlInflatePasswordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// "Pellam deflate error. (Internal cause: <cause>)".
class EPlDeflateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
