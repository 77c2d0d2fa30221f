#pragma once
// Raw Deflate (and Deflate64) decoder.

#include <cstdint>

#include "archive/deflate_helper.h"
#include "archive/streams.h"

// Decodes from source's position, appends to dest; returns the CRC-32 (or
// Adler-32) of the output. Leaves source right after the compressed data.
std::uint32_t Inflate(TStream& source, TStream& dest, TPlDeflateHelper* helper);
