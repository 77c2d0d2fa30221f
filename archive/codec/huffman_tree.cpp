// Canonical code assignment (codes of each length consecutive in symbol
// order, shorter codes first) and the one-lookup decoding table.
#include "archive/codec/huffman_tree.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "archive/codec/deflate_tables.h"

namespace {

constexpr int kLongest = deflate_tables::kMaxCodeLength;
constexpr int kLitLenRootBits = 10;
constexpr int kDistRootBits = 8;
// A link's start index lives in the symbol field. Starts lie past the root
// table, so links never look like a literal, length or distance symbol.
static_assert((1 << kLitLenRootBits) > deflate_tables::kLastLengthSymbol &&
              (1 << kDistRootBits) > deflate_tables::kDist64Symbols - 1);
static_assert((1 << kLitLenRootBits) * ((1 << (kLongest - kLitLenRootBits)) + 1) <= 65536,
              "subtable starts fit in 16 bits");

}  // namespace

TPlDfDecodeHuffmanTree::TPlDfDecodeHuffmanTree(int alphabetSize, Usage usage, int maxLength)
    : alphabetSize_(alphabetSize),
      usage_(usage),
      maxLength_(maxLength),
      rootLimit_(alphabetSize > 32 ? kLitLenRootBits : kDistRootBits) {
  assert(alphabetSize >= 2 && maxLength >= 1 && maxLength <= kLongest);
}

bool TPlDfDecodeHuffmanTree::Build(const std::uint8_t* lengths, int count, int firstExtra,
                                   const std::uint8_t* extra, int extraCount) {
  assert(count <= alphabetSize_);
  std::array<int, kLongest + 1> perLength{};
  longest_ = 0;
  for (int s = 0; s < count; ++s) {
    if (lengths[s] > maxLength_) {
      assert(!"code length above the table's maximum");
      MakeUnusable();
      return false;
    }
    ++perLength[lengths[s]];
    if (lengths[s] > longest_) longest_ = lengths[s];
  }
  // Over-subscription check: at each length the codes left must not go
  // negative, or the canonical codes would overlap and overrun the table.
  std::array<std::uint32_t, kLongest + 2> next{};
  int left = 1;
  std::uint32_t code = 0;
  for (int len = 1; len <= kLongest; ++len) {
    left = (left << 1) - perLength[len];
    if (left < 0) {
      MakeUnusable();
      return false;
    }
    code = (code + perLength[len - 1] * (len > 1)) << 1;
    next[len] = code;
  }
  std::array<std::uint32_t, deflate_tables::kFixedLitLenSymbols> codes{};
  std::array<std::uint32_t, deflate_tables::kFixedLitLenSymbols> extras{};
  for (int s = 0; s < count; ++s) {
    int len = lengths[s];
    if (len > 0) codes[s] = ReverseBits(next[len]++, len);
    int e = s - firstExtra;
    extras[s] = (extra != nullptr && e >= 0 && e < extraCount) ? extra[e] : 0;
  }
  if (usage_ != Usage::Encode) FillDecode(lengths, count, codes.data(), extras.data());
  if (usage_ != Usage::Decode) {
    encode_.assign(alphabetSize_, kInvalid);
    for (int s = 0; s < count; ++s)
      if (lengths[s] > 0) encode_[s] = MakeEntry(codes[s], lengths[s], extras[s]);
  }
  return true;
}

void TPlDfDecodeHuffmanTree::MakeUnusable() {
  longest_ = 0;
  root_ = 0;
  mask_ = 0;
  decode_.assign(1, kInvalid);
  encode_.assign(alphabetSize_, kInvalid);
}

void TPlDfDecodeHuffmanTree::FillDecode(const std::uint8_t* lengths, int count,
                                        const std::uint32_t* codes, const std::uint32_t* extras) {
  root_ = std::min(longest_, rootLimit_);
  const std::size_t size = std::size_t{1} << root_;
  mask_ = static_cast<std::uint32_t>(size - 1);
  decode_.assign(size, kInvalid);
  // Codes that fit the root: every index whose low len bits are the reversed
  // code decodes to the symbol.
  std::array<std::uint8_t, std::size_t{1} << kLitLenRootBits> subBits{};
  for (int s = 0; s < count; ++s) {
    int len = lengths[s];
    if (len == 0) continue;
    if (len > root_) {
      std::size_t prefix = codes[s] & mask_;
      subBits[prefix] = static_cast<std::uint8_t>(std::max<int>(subBits[prefix], len - root_));
      continue;
    }
    std::uint32_t entry = MakeEntry(static_cast<std::uint32_t>(s), len, extras[s]);
    for (std::size_t i = codes[s]; i < size; i += std::size_t{1} << len) decode_[i] = entry;
  }
  if (longest_ <= root_) return;
  // One subtable per root prefix shared by longer codes, sized for the
  // longest of them.
  for (std::size_t prefix = 0; prefix < size; ++prefix) {
    if (subBits[prefix] == 0) continue;
    auto start = static_cast<std::uint32_t>(decode_.size());
    decode_.resize(decode_.size() + (std::size_t{1} << subBits[prefix]), kInvalid);
    decode_[prefix] = MakeEntry(start, subBits[prefix], kLinkMarker);
  }
  for (int s = 0; s < count; ++s) {
    int len = lengths[s];
    if (len <= root_) continue;
    std::uint32_t link = decode_[codes[s] & mask_];
    std::size_t start = EntrySymbol(link);
    std::size_t span = std::size_t{1} << EntryLength(link);
    std::uint32_t entry = MakeEntry(static_cast<std::uint32_t>(s), len, extras[s]);
    for (std::size_t i = codes[s] >> root_; i < span; i += std::size_t{1} << (len - root_))
      decode_[start + i] = entry;
  }
}

namespace {

TPlDfDecodeHuffmanTree MakeFixedLitLen(bool deflate64) {
  namespace dt = deflate_tables;
  std::array<std::uint8_t, dt::kFixedLitLenSymbols> lengths{};
  for (int s = 0; s < dt::kFixedLitLenSymbols; ++s)
    lengths[s] = static_cast<std::uint8_t>(dt::FixedLitLenLength(s));
  TPlDfDecodeHuffmanTree tree(dt::kFixedLitLenSymbols, TPlDfDecodeHuffmanTree::Usage::Both,
                              dt::kMaxCodeLength);
  const auto& extra = deflate64 ? dt::kLength64Extra : dt::kLengthExtra;
  tree.Build(lengths.data(), dt::kFixedLitLenSymbols, dt::kFirstLengthSymbol, extra.data(),
             dt::kLengthSymbols);
  return tree;
}

TPlDfDecodeHuffmanTree MakeFixedDist() {
  namespace dt = deflate_tables;
  std::array<std::uint8_t, dt::kDist64Symbols> lengths{};
  lengths.fill(dt::kFixedDistLength);
  TPlDfDecodeHuffmanTree tree(dt::kDist64Symbols, TPlDfDecodeHuffmanTree::Usage::Both,
                              dt::kMaxCodeLength);
  tree.Build(lengths.data(), dt::kDist64Symbols, 0, dt::kDistExtra.data(), dt::kDist64Symbols);
  return tree;
}

}  // namespace

const TPlDfDecodeHuffmanTree& FixedLitLenTree(bool deflate64) {
  static const TPlDfDecodeHuffmanTree deflate = MakeFixedLitLen(false);
  static const TPlDfDecodeHuffmanTree deflate64Tree = MakeFixedLitLen(true);
  return deflate64 ? deflate64Tree : deflate;
}

const TPlDfDecodeHuffmanTree& FixedDistTree() {
  static const TPlDfDecodeHuffmanTree tree = MakeFixedDist();
  return tree;
}
