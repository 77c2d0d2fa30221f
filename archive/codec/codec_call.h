#pragma once
// What one call of the codec core needs besides its streams. The core does
// no cipher work, writes no log and reports no result sizes: Inflate and
// Deflate do that around it, from their settings record.

#include <cstdint>
#include <functional>

#include "archive/codec/deflate_levels.h"

struct TCodecCall {
  // The option bits of deflate_options.
  std::uint32_t options = 15;
  // Encoder: the search parameters (deflate_tuning::kUnlimited allowed).
  TDeflateTuning tuning = deflate_levels::kNewRecord;
  // Encoder: at the normal level, a first kilobyte without zero bytes
  // doubles the search parameters for the rest of the input.
  bool deeperTextSearch = false;
  // Encoder: window size, rounded to a power of two the format allows.
  std::uint32_t windowBytes = 32768;
  // Input size for progress percentages; 0: no reports.
  std::int64_t inputSize = 0;
  std::function<void(int percent)> progress;
  // Decoder: stop once this many bytes are produced; 0: no limit.
  std::int64_t outputLimit = 0;
};
