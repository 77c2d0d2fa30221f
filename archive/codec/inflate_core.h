#pragma once
// The decoder itself: raw Deflate (or Deflate64) from a plain source into a
// destination. No cipher, no log, no settings record: Inflate (inflate.h)
// wraps it with those.

#include <cstdint>

#include "archive/codec/codec_call.h"
#include "archive/streams.h"

struct TInflateOutcome {
  // CRC-32 (or Adler-32) of the output; 0 when the output limit or the
  // progress callback stopped decoding.
  std::uint32_t checksum = 0;
  // Bytes produced (written or, in test mode, counted).
  std::int64_t produced = 0;
};

// Decodes from source's position, appends to dest and leaves source right
// after the compressed data. Corrupt data throws EPlInflateError; stream
// failures pass unchanged.
TInflateOutcome InflateCore(TStream& source, TStream& dest, const TCodecCall& call);
