// Block structure of the decoder: block headers, stored blocks and the
// dynamic Huffman table header. Symbol decoding is in inflate_decode_data.cpp.
#include "archive/codec/inflate_decoder.h"

#include <algorithm>
#include <array>

#include "archive/codec/codec_errors.h"
#include "archive/codec/deflate_tables.h"

namespace dt = deflate_tables;

TPlDfInflater::TPlDfInflater(TPlDfInBitStream& bits, TPlDfOutputWindow& window, bool deflate64)
    : bits_(bits),
      window_(window),
      deflate64_(deflate64),
      litLenTable_(deflate64 ? TInflateTable::Kind::LitLen64 : TInflateTable::Kind::LitLen),
      distTable_(deflate64 ? TInflateTable::Kind::Dist64 : TInflateTable::Kind::Dist),
      codeLenTree_(dt::kCodeLenSymbols, TPlDfDecodeHuffmanTree::Usage::Decode,
                   dt::kMaxCodeLenCodeLength) {}

void TPlDfInflater::Run() {
  bool final = false;
  while (!final) {
    final = bits_.ReadBit();
    switch (bits_.ReadBits(2)) {
      case 0:
        InflateStoredBlock();
        break;
      case 1:
        DecodeData(FixedLitLenTable(deflate64_), FixedDistTable(deflate64_));
        break;
      case 2:
        InflateDynamicBlock();
        break;
      default:
        FailInflate("starting new block, but invalid block type [Inflate]");
    }
  }
}

void TPlDfInflater::InflateStoredBlock() {
  bits_.AlignToByte();
  std::uint32_t len = bits_.ReadBits(16);
  std::uint32_t nlen = bits_.ReadBits(16);
  if (nlen != (~len & 0xFFFF))
    FailInflate("invalid stored block (length and NOT length do not match) [InflateStoredBlock]");
  while (len > 0) {
    std::size_t n = std::min<std::size_t>({len, window_.Room(), TPlDfInBitStream::kBufferSize});
    bits_.ReadBuffer(window_.End(), n);
    window_.SetEnd(window_.End() + n);
    len -= static_cast<std::uint32_t>(n);
    if (window_.End() >= window_.StopPoint()) window_.Overflow();
  }
}

void TPlDfInflater::InflateDynamicBlock() {
  int litCount = static_cast<int>(bits_.ReadBits(5)) + dt::kMinLitLenCodes;
  int distCount = static_cast<int>(bits_.ReadBits(5)) + dt::kMinDistCodes;
  int codeLenCount = static_cast<int>(bits_.ReadBits(4)) + dt::kMinCodeLenCodes;
  if (litCount > dt::kLitLenSymbols)
    FailInflate(
        "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]");
  if (!deflate64_ && distCount > dt::kDistSymbols)
    FailInflate(
        "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]");

  std::array<std::uint8_t, dt::kCodeLenSymbols> codeLenLengths{};
  for (int i = 0; i < codeLenCount; ++i)
    codeLenLengths[dt::kCodeLenOrder[i]] = static_cast<std::uint8_t>(bits_.ReadBits(3));
  if (!codeLenTree_.Build(codeLenLengths.data(), dt::kCodeLenSymbols))
    FailInflate("code lengths over-subscribe the code space [InflateDynamicBlock]");

  std::array<std::uint8_t, dt::kLitLenSymbols + dt::kDist64Symbols> lengths{};
  ReadLitDistCodeLengths(codeLenTree_, lengths.data(), litCount + distCount);

  if (!litLenTable_.Build(lengths.data(), litCount) ||
      !distTable_.Build(lengths.data() + litCount, distCount))
    FailInflate("code lengths over-subscribe the code space [InflateDynamicBlock]");
  DecodeData(litLenTable_, distTable_);
}

void TPlDfInflater::ReadLitDistCodeLengths(const TPlDfDecodeHuffmanTree& codeLenTree,
                                           std::uint8_t* lengths, int total) {
  static constexpr const char* kDiscard =
      "no more compressed data in stream [TPlDfInBitStream.DiscardBits]";
  int longest = codeLenTree.MaxCodeLength();
  int i = 0;
  while (i < total) {
    std::uint64_t peek = bits_.PeekBits(longest + dt::kRepeatZerosLong.extraBits);
    std::uint32_t e = codeLenTree.Decode(peek);
    int sym = static_cast<int>(TPlDfDecodeHuffmanTree::EntrySymbol(e));
    int len = static_cast<int>(TPlDfDecodeHuffmanTree::EntryLength(e));
    if (sym >= dt::kCodeLenSymbols)
      FailInflate("decoded a symbol not between 0 and 18 {ReadLitDistCodeLengths}");
    if (len == 0 || len > longest)
      FailInflate("decoded a code length out of range {ReadLitDistCodeLengths}");
    if (sym < dt::kRepeatPrevious.symbol) {
      bits_.DiscardBits(len, kDiscard);
      lengths[i++] = static_cast<std::uint8_t>(sym);
      continue;
    }
    const dt::RepeatCode code = dt::RepeatCodeOf(sym);
    int repeat = code.base + static_cast<int>((peek >> len) & ((1u << code.extraBits) - 1));
    bits_.DiscardBits(len + code.extraBits, kDiscard);
    std::uint8_t value = 0;
    if (sym == dt::kRepeatPrevious.symbol) {
      if (i == 0)
        FailInflate("repeat code 16 with no previous code length {ReadLitDistCodeLengths}");
      value = lengths[i - 1];
    }
    // A run may reach past the declared count; those lengths are ignored.
    for (int r = 0; r < repeat && i < total; ++r) lengths[i++] = value;
  }
}
