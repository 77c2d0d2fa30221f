#pragma once
// Block decoding of a raw Deflate / Deflate64 stream: the block loop, stored
// blocks, the dynamic table header and the symbol decoding loop.

#include <cstdint>

#include "archive/codec/huffman_tree.h"
#include "archive/codec/inflate_bit_stream.h"
#include "archive/codec/inflate_table.h"
#include "archive/codec/inflate_window.h"

class TPlDfInflater {
 public:
  TPlDfInflater(TPlDfInBitStream& bits, TPlDfOutputWindow& window, bool deflate64);

  // Decodes blocks until the final one has been decoded.
  void Run();

 private:
  void InflateStoredBlock();
  void InflateDynamicBlock();
  void ReadLitDistCodeLengths(const TPlDfDecodeHuffmanTree& codeLenTree, std::uint8_t* lengths,
                              int total);
  void DecodeData(const TInflateTable& litLen, const TInflateTable& dist);
  // The fast loop runs while enough input is buffered and the window has
  // room; returns true at the end of the block.
  template <bool kDeflate64>
  bool DecodeFast(const TInflateTable& litLen, const TInflateTable& dist);
  // Decodes one symbol (and its distance) with checked bit-stream calls;
  // returns true at the end of the block.
  bool DecodeOneSlow(const TInflateTable& litLen, const TInflateTable& dist);
  void CopyMatch(std::uint32_t length, std::uint32_t distance);

  TPlDfInBitStream& bits_;
  TPlDfOutputWindow& window_;
  bool deflate64_;
  TInflateTable litLenTable_;
  TInflateTable distTable_;
  TPlDfDecodeHuffmanTree codeLenTree_;
};
