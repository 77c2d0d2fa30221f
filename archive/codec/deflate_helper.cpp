// Settings record: the setting rule for the search parameters and the level
// letters (the table is in deflate_levels.h).
#include "archive/codec/deflate_helper.h"


#include "archive/codec/deflate_levels.h"
#include "core/ascii_case.h"

TPlDeflateHelper::TPlDeflateHelper() : tuning_(deflate_levels::kNewRecord) {}

void TPlDeflateHelper::SetTuned(std::int32_t TDeflateTuning::*field, std::int32_t value) {
  if (value == tuning_.*field) return;
  tuning_.*field = deflate_tuning::Clamped(value);
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetSufficientLength(std::int32_t value) {
  SetTuned(&TDeflateTuning::sufficientLength, value);
}

void TPlDeflateHelper::SetChainLimit(std::int32_t value) {
  SetTuned(&TDeflateTuning::chainLimit, value);
}

void TPlDeflateHelper::SetLazyLimit(std::int32_t value) {
  SetTuned(&TDeflateTuning::lazyLimit, value);
}

void TPlDeflateHelper::SetOptions(std::uint32_t value) {
  if (value == options_) return;
  options_ = value;
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetLevelLetter(char letter) {
  const char lower = AsciiLower(letter);
  if (lower == levelLetter_) return;
  const TDeflateLevel* row = deflate_levels::Find(lower);
  if (!row) return;
  options_ = (row->clearsLowBits ? options_ & ~0xFu : options_) | row->lowBits;
  tuning_ = row->tuning;
  levelLetter_ = lower;
}

TCodecCall TPlDeflateHelper::CodecCall(std::int64_t inputSize) const {
  TCodecCall call;
  call.options = options_;
  call.tuning = tuning_;
  call.deeperTextSearch = levelLetter_ == 'n';
  call.windowBytes = WindowBytes;
  call.inputSize = ProgressCallback ? inputSize : 0;
  call.progress = ProgressCallback;
  call.outputLimit = OutputLimit;
  return call;
}
