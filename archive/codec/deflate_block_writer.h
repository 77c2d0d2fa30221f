#pragma once
// Writes one block of LZ items as stored, fixed-Huffman or dynamic-Huffman
// data. All three sizes come from the symbol counts, so nothing is encoded
// twice; the smallest kind is written in the choosing mode.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "archive/codec/deflate_bit_writer.h"
#include "archive/codec/deflate_lz_stream.h"
#include "archive/codec/deflate_tables.h"

enum class BlockKinds { StoredOnly, FixedOnly, DynamicOnly, Smallest };

// Dynamic code lengths of one block and their run-length coded form.
struct DynamicCodes {
  std::vector<int> litLen;        // j lengths
  std::vector<int> dist;          // i lengths
  std::vector<int> codeLen;       // 19 lengths
  std::vector<std::uint8_t> rle;  // symbol, then one repeat byte for 16, 17, 18
  std::array<std::uint32_t, deflate_tables::kCodeLenSymbols> rleCounts{};
  int hclen = deflate_tables::kMinCodeLenCodes;  // k
};

DynamicCodes BuildDynamicCodes(const TPlDfLZStream& lz);
// Run-length codes a sequence of code lengths; counts the symbols used.
void RunLengthCode(const std::vector<int>& lengths, DynamicCodes& codes);
// Bit sizes without the 3 header bits and without padding.
std::uint64_t CalcDynamicBitCount(const TPlDfLZStream& lz, const DynamicCodes& codes);
std::uint64_t CalcFixedBitCount(const TPlDfLZStream& lz);

// Reads count bytes of the input at the given offset into dest.
using ReadInputFn = std::function<void(std::int64_t offset, std::size_t count, std::uint8_t* dest)>;

void WriteBlock(TPlDfOutBitStream& out, const TPlDfLZStream& lz, bool final, BlockKinds kinds,
                const ReadInputFn& readInput);
// Stored pieces of at most 65,535 bytes; BFINAL only on the last piece when
// final. An empty block still writes one (empty) piece.
void WriteStored(TPlDfOutBitStream& out, const std::uint8_t* data, std::size_t size, bool final);
