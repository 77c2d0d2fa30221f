#pragma once
// Raw Deflate (and Deflate64) decoder with the settings record: the
// traditional decryption (when PasswordText is set), the log and the result
// sizes around the codec core (inflate_core.h).

#include <cstdint>

#include "archive/codec/deflate_helper.h"
#include "archive/streams.h"

// Decodes from source's position, appends to dest; returns the CRC-32 (or
// Adler-32) of the output. Leaves source right after the compressed data.
// With helper->OutputLimit > 0, decoding stops once that many bytes have been
// produced: nothing past the limit is written, the result is 0 and
// helper->OutputSize equals the limit, so a caller that sets the limit one
// above the expected size can tell an oversized stream from a good one.
// Corrupt data throws EPlInflateError, a wrong password EPlInflatePasswordError.
std::uint32_t Inflate(TStream& source, TStream& dest, TPlDeflateHelper* helper);

// Gives dest room for expectedSize bytes of output at its position, and for
// the scratch that decoding straight into a memory stream uses past the
// output, so that its buffer is not moved while decoding. The size is only
// a hint: more or less output is still decoded correctly.
void ReserveInflateOutput(TMemoryStream& dest, std::size_t expectedSize);
