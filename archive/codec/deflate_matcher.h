#pragma once
// The LZ77 matcher with lazy evaluation that feeds the block writer.

#include <cstdint>

#include "archive/codec/deflate_block_writer.h"
#include "archive/codec/codec_call.h"
#include "archive/streams.h"

// Compresses the whole source (read from its current position) into out;
// returns the checksum of the input.
std::uint32_t DeflateStaticDynamic(TStream& source, TPlDfOutBitStream& out,
                                   const TCodecCall& call, BlockKinds kinds);
