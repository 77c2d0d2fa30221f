#pragma once
// The encoder itself: raw Deflate (or Deflate64) of a plain source into a
// destination. No cipher, no log, no settings record: Deflate (deflate.h)
// wraps it with those.

#include <cstdint>

#include "archive/codec/codec_call.h"
#include "archive/streams.h"

// Compresses source into dest and returns the CRC-32 (or Adler-32) of the
// input. In stored mode (option bits 1-4 allow stored blocks only) the source
// is read from its position; otherwise it must be seekable and at position 0.
// A short write throws EPlDeflateError; other stream failures pass unchanged.
std::uint32_t DeflateCore(TStream& source, TStream& dest, const TCodecCall& call);
