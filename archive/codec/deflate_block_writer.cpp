#include "archive/codec/deflate_block_writer.h"

#include <algorithm>
#include <cassert>

#include "archive/codec/deflate.h"
#include "archive/codec/huffman_tree.h"

namespace dt = deflate_tables;

namespace {

using Tree = TPlDfDecodeHuffmanTree;

int LengthExtraBits(const TPlDfLZStream& lz, int symbol) {
  const auto& extra = lz.Deflate64() ? dt::kLength64Extra : dt::kLengthExtra;
  return extra[symbol - dt::kFirstLengthSymbol];
}

int HighestUsed(const std::vector<int>& lengths) {
  int top = static_cast<int>(lengths.size()) - 1;
  while (top > 0 && lengths[top] == 0) --top;
  return top;
}

template <std::size_t N>
std::vector<std::uint32_t> ToWeights(const std::array<std::uint32_t, N>& counts, std::size_t n) {
  return std::vector<std::uint32_t>(counts.begin(), counts.begin() + n);
}

void WriteRepeats(int value, int run, DynamicCodes& codes) {
  auto put = [&codes](int sym, int repeat) {
    codes.rle.push_back(static_cast<std::uint8_t>(sym));
    ++codes.rleCounts[sym];
    if (sym >= dt::kRepeatPrevious.symbol) codes.rle.push_back(static_cast<std::uint8_t>(repeat));
  };
  auto plain = [&put](int v, int count) {
    for (int i = 0; i < count; ++i) put(v, 0);
  };
  if (run < dt::kShortestRepeat) return plain(value, run);
  if (value != 0) {
    constexpr dt::RepeatCode kPrevious = dt::kRepeatPrevious;
    put(value, 0);
    int rest = run - 1;
    while (rest > kPrevious.Longest()) {
      put(kPrevious.symbol, kPrevious.Longest());
      rest -= kPrevious.Longest();
    }
    if (rest >= kPrevious.base) return put(kPrevious.symbol, rest);
    return plain(value, rest);
  }
  while (run > dt::kRepeatZeros.Longest()) {
    int n = std::min(run, dt::kRepeatZerosLong.Longest());
    put(dt::kRepeatZerosLong.symbol, n);
    run -= n;
  }
  if (run >= dt::kRepeatZeros.base) return put(dt::kRepeatZeros.symbol, run);
  plain(0, run);
}

Tree MakeEncoder(int alphabet, int maxLength, const std::vector<int>& lengths, int firstExtra,
                 const std::uint8_t* extra, int extraCount) {
  Tree tree(std::max(alphabet, 2), Tree::Usage::Encode, maxLength);
  std::vector<std::uint8_t> bytes(lengths.begin(), lengths.end());
  tree.Build(bytes.data(), static_cast<int>(bytes.size()), firstExtra, extra, extraCount);
  return tree;
}

// Writes the symbol's code; returns the number of extra bits that follow it.
int WriteSymbol(TPlDfOutBitStream& out, const Tree& tree, int symbol) {
  std::uint32_t e = tree.Encode(symbol);
  out.WriteBits(Tree::EntryCode(e), static_cast<int>(Tree::EntryLength(e)));
  return static_cast<int>(Tree::EntryExtra(e));
}

// Writes the symbol's code and its extra value in one field: a code (at
// most 15 bits) and its extra bits (at most 16) fit the 32 bits a write
// takes.
void WriteCoded(TPlDfOutBitStream& out, const Tree& tree, int symbol, std::uint32_t extraValue) {
  const std::uint32_t e = tree.Encode(symbol);
  const auto length = static_cast<int>(Tree::EntryLength(e));
  out.WriteBits(Tree::EntryCode(e) | extraValue << length,
                length + static_cast<int>(Tree::EntryExtra(e)));
}

void WriteItems(TPlDfOutBitStream& out, const TPlDfLZStream& lz, const Tree& litLen,
                const Tree& dist) {
  const auto& lengthBase = lz.Deflate64() ? dt::kLength64Base : dt::kLengthBase;
  for (std::size_t i = 0; i < lz.Items(); ++i) {
    std::uint32_t value = lz.Value(i);
    std::uint32_t distance = lz.Distance(i);
    if (distance == 0) {
      WriteSymbol(out, litLen, static_cast<int>(value));
      continue;
    }
    int ls = lz.LengthSymbol(static_cast<int>(value));
    WriteCoded(out, litLen, ls, value - lengthBase[ls - dt::kFirstLengthSymbol]);
    int ds = TPlDfLZStream::DistanceSymbol(static_cast<int>(distance));
    WriteCoded(out, dist, ds, distance - dt::kDistBase[ds]);
  }
  WriteSymbol(out, litLen, dt::kEndOfBlock);
}

void WriteFixed(TPlDfOutBitStream& out, const TPlDfLZStream& lz, bool final) {
  out.WriteBits(final ? 1 : 0, 1);
  out.WriteBits(1, 2);
  WriteItems(out, lz, FixedLitLenTree(lz.Deflate64()), FixedDistTree());
}

void WriteDynamic(TPlDfOutBitStream& out, const TPlDfLZStream& lz, const DynamicCodes& codes,
                  bool final) {
  out.WriteBits(final ? 1 : 0, 1);
  out.WriteBits(2, 2);
  out.WriteBits(static_cast<std::uint32_t>(codes.litLen.size() - dt::kMinLitLenCodes), 5);
  out.WriteBits(static_cast<std::uint32_t>(codes.dist.size() - dt::kMinDistCodes), 5);
  out.WriteBits(static_cast<std::uint32_t>(codes.hclen - dt::kMinCodeLenCodes), 4);
  for (int i = 0; i < codes.hclen; ++i)
    out.WriteBits(static_cast<std::uint32_t>(codes.codeLen[dt::kCodeLenOrder[i]]), 3);
  Tree codeLenTree =
      MakeEncoder(dt::kCodeLenSymbols, dt::kMaxCodeLenCodeLength, codes.codeLen, 0, nullptr, 0);
  for (std::size_t i = 0; i < codes.rle.size(); ++i) {
    int sym = codes.rle[i];
    WriteSymbol(out, codeLenTree, sym);
    if (sym < dt::kRepeatPrevious.symbol) continue;
    const dt::RepeatCode code = dt::RepeatCodeOf(sym);
    out.WriteBits(static_cast<std::uint32_t>(codes.rle[++i] - code.base), code.extraBits);
  }
  const auto& lengthExtra = lz.Deflate64() ? dt::kLength64Extra : dt::kLengthExtra;
  Tree litLen = MakeEncoder(dt::kLitLenSymbols, dt::kMaxCodeLength, codes.litLen,
                            dt::kFirstLengthSymbol, lengthExtra.data(), dt::kLengthSymbols);
  Tree dist = MakeEncoder(dt::kDist64Symbols, dt::kMaxCodeLength, codes.dist, 0,
                          dt::kDistExtra.data(), dt::kDist64Symbols);
  WriteItems(out, lz, litLen, dist);
}

void WriteStoredBlock(TPlDfOutBitStream& out, const TPlDfLZStream& lz, bool final,
                      const ReadInputFn& readInput) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(lz.StoredSize()));
  if (!data.empty()) readInput(lz.Offset(), data.size(), data.data());
  WriteStored(out, data.data(), data.size(), final);
}

}  // namespace

void RunLengthCode(const std::vector<int>& lengths, DynamicCodes& codes) {
  codes.rle.clear();
  codes.rleCounts.fill(0);
  std::size_t i = 0;
  while (i < lengths.size()) {
    std::size_t j = i;
    while (j < lengths.size() && lengths[j] == lengths[i]) ++j;
    WriteRepeats(lengths[i], static_cast<int>(j - i), codes);
    i = j;
  }
}

DynamicCodes BuildDynamicCodes(const TPlDfLZStream& lz) {
  DynamicCodes codes;
  codes.litLen =
      GenerateCodeLengths(dt::kMaxCodeLength, ToWeights(lz.LitLenCounts(), dt::kLitLenSymbols));
  codes.litLen.resize(std::max(HighestUsed(codes.litLen) + 1, dt::kMinLitLenCodes));
  codes.dist =
      GenerateCodeLengths(dt::kMaxCodeLength, ToWeights(lz.DistCounts(), dt::kDist64Symbols));
  codes.dist.resize(HighestUsed(codes.dist) + 1);
  std::vector<int> all = codes.litLen;
  all.insert(all.end(), codes.dist.begin(), codes.dist.end());
  RunLengthCode(all, codes);
  codes.codeLen = GenerateCodeLengths(dt::kMaxCodeLenCodeLength,
                                      ToWeights(codes.rleCounts, dt::kCodeLenSymbols));
  codes.hclen = dt::kMinCodeLenCodes;
  for (int i = 0; i < dt::kCodeLenSymbols; ++i)
    if (codes.codeLen[dt::kCodeLenOrder[i]] != 0) codes.hclen = std::max(codes.hclen, i + 1);
  return codes;
}

std::uint64_t CalcFixedBitCount(const TPlDfLZStream& lz) {
  std::uint64_t bits = 0;
  const auto& lit = lz.LitLenCounts();
  for (int s = 0; s < dt::kLitLenSymbols; ++s) {
    std::uint64_t perSymbol = dt::FixedLitLenLength(s);
    if (s >= dt::kFirstLengthSymbol) perSymbol += LengthExtraBits(lz, s);
    bits += lit[s] * perSymbol;
  }
  const auto& dist = lz.DistCounts();
  for (int d = 0; d < dt::kDist64Symbols; ++d)
    bits += dist[d] * static_cast<std::uint64_t>(dt::kFixedDistLength + dt::kDistExtra[d]);
  return bits;
}

std::uint64_t CalcDynamicBitCount(const TPlDfLZStream& lz, const DynamicCodes& codes) {
  std::uint64_t bits = 14 + 3 * static_cast<std::uint64_t>(codes.hclen);
  for (int s = 0; s < dt::kCodeLenSymbols; ++s) {
    int extra = s >= dt::kRepeatPrevious.symbol ? dt::RepeatCodeOf(s).extraBits : 0;
    bits += codes.rleCounts[s] * static_cast<std::uint64_t>(codes.codeLen[s] + extra);
  }
  const auto& lit = lz.LitLenCounts();
  for (std::size_t s = 0; s < codes.litLen.size(); ++s) {
    std::uint64_t perSymbol = codes.litLen[s];
    if (s >= dt::kFirstLengthSymbol) perSymbol += LengthExtraBits(lz, static_cast<int>(s));
    bits += lit[s] * perSymbol;
  }
  const auto& dist = lz.DistCounts();
  for (std::size_t d = 0; d < codes.dist.size(); ++d)
    bits += dist[d] * std::uint64_t{codes.dist[d] + 0u + dt::kDistExtra[d]};
  return bits;
}

void WriteStored(TPlDfOutBitStream& out, const std::uint8_t* data, std::size_t size, bool final) {
  std::size_t done = 0;
  do {
    std::size_t n = std::min(dt::kMaxStoredBlock, size - done);
    bool last = done + n == size;
    out.WriteBits(final && last ? 1 : 0, 1);
    out.WriteBits(0, 2);
    out.AlignToByte();
    out.WriteBits(static_cast<std::uint32_t>(n), 16);
    out.WriteBits(static_cast<std::uint32_t>(~n & 0xFFFF), 16);
    out.AlignToByte();
    out.WriteBuffer(data + done, n);
    done += n;
  } while (done < size);
}

void WriteBlock(TPlDfOutBitStream& out, const TPlDfLZStream& lz, bool final, BlockKinds kinds,
                const ReadInputFn& readInput) {
  if (kinds == BlockKinds::FixedOnly) return WriteFixed(out, lz, final);
  DynamicCodes codes = BuildDynamicCodes(lz);
  if (kinds == BlockKinds::DynamicOnly) return WriteDynamic(out, lz, codes, final);
  const std::uint64_t fixedBits = CalcFixedBitCount(lz);
  const std::uint64_t dynamicBits = CalcDynamicBitCount(lz, codes);
  const std::uint64_t storedBits = (static_cast<std::uint64_t>(lz.StoredSize()) + 4) * 8;
  // Ties go to the Huffman kind, and between the two to dynamic.
  if (fixedBits < dynamicBits) {
    if (storedBits < fixedBits) return WriteStoredBlock(out, lz, final, readInput);
    return WriteFixed(out, lz, final);
  }
  if (storedBits < dynamicBits) return WriteStoredBlock(out, lz, final, readInput);
  WriteDynamic(out, lz, codes, final);
}
