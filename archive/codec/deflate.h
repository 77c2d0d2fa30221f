#pragma once
// Raw Deflate encoder with lazy matching and per-block choice of stored,
// fixed or dynamic Huffman coding, with the settings record: the traditional
// encryption (when PasswordText is set), the log and the result sizes around
// the codec core (deflate_core.h).

#include <cstdint>
#include <vector>

#include "archive/codec/deflate_helper.h"
#include "archive/streams.h"

// Compresses source (from position 0 unless in stored mode) into dest;
// returns the CRC-32 (or Adler-32) of the input.
std::uint32_t Deflate(TStream& source, TStream& dest, TPlDeflateHelper* helper);

// Length-limited Huffman code lengths by package-merge.
std::vector<int> GenerateCodeLengths(int maxLength, const std::vector<std::uint32_t>& weights);
