#pragma once
// Canonical Huffman code table used by both the decoder and the encoder.
// The decoder reads its literal/length and distance codes through
// TInflateTable (inflate_table.h), whose entries carry base values; this
// table serves it for the code-length code.
//
// Decoding is table-driven: the root table has 2^R entries (R = the longest
// code present, at most 10 bits for literal/length codes and 8 for distance
// codes) and every entry whose low bits equal a symbol's bit-reversed code
// describes that symbol, so the next R input bits (least significant first)
// index it directly. Entry layout: symbol in bits 0-15, code length in bits
// 16-23, extra-bit count in bits 24-31. Entries no code reaches are all ones.
// Codes longer than R are rare; their root entry is a link (extra-bit field
// kLinkMarker, subtable start in bits 0-15, subtable index bits in 16-23) to
// a subtable indexed by the following bits. A small root keeps the table in
// the first-level cache and cheap to rebuild for every dynamic block.
//
// Encoding keeps one entry per symbol: reversed code in bits 0-15, code
// length in bits 16-23, extra-bit count in bits 24-31.

#include <cassert>
#include <cstdint>
#include <vector>

class TPlDfDecodeHuffmanTree {
 public:
  enum class Usage { Decode, Encode, Both };
  static constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;
  static constexpr std::uint32_t kLinkMarker = 0xFE;

  TPlDfDecodeHuffmanTree(int alphabetSize, Usage usage, int maxLength);

  // Assigns canonical codes to count lengths (0 = absent). Symbols from
  // firstExtra on take their extra-bit counts from extra (extraCount entries).
  // Returns false, leaving the table unusable, when the lengths over-subscribe
  // the code space; lengths above the maximum are a programming error.
  bool Build(const std::uint8_t* lengths, int count, int firstExtra = 0,
             const std::uint8_t* extra = nullptr, int extraCount = 0);

  int MaxCodeLength() const { return longest_; }
  int RootBits() const { return root_; }
  std::uint32_t Mask() const { return mask_; }
  const std::uint32_t* Table() const { return decode_.data(); }
  // The entry for the low MaxCodeLength() bits of the given bits.
  std::uint32_t Decode(std::uint64_t bits) const {
    std::uint32_t e = decode_[bits & mask_];
    return IsLink(e) ? decode_[LinkTarget(e, bits >> root_)] : e;
  }
  // The entry of a present symbol (inline: the block writer calls it for
  // every symbol it writes).
  std::uint32_t Encode(int symbol) const {
    assert(symbol >= 0 && symbol < alphabetSize_ && encode_[symbol] != kInvalid);
    return encode_[symbol];
  }

  // The entry fields. The low field is the symbol of a decoding entry, the
  // reversed code of an encoding entry and a link's subtable start; the
  // length field of a link is its subtable's index bits.
  static constexpr std::uint32_t MakeEntry(std::uint32_t low, std::uint32_t length,
                                           std::uint32_t extra) {
    return low | length << 16 | extra << 24;
  }
  static constexpr std::uint32_t EntrySymbol(std::uint32_t e) { return e & 0xFFFF; }
  static constexpr std::uint32_t EntryCode(std::uint32_t e) { return e & 0xFFFF; }
  static constexpr std::uint32_t EntryLength(std::uint32_t e) { return (e >> 16) & 0xFF; }
  static constexpr std::uint32_t EntryExtra(std::uint32_t e) { return e >> 24; }
  static constexpr bool IsLink(std::uint32_t e) { return EntryExtra(e) == kLinkMarker; }
  // Index of the subtable entry for the bits after the root bits.
  static constexpr std::size_t LinkTarget(std::uint32_t e, std::uint64_t rest) {
    return EntrySymbol(e) + (rest & ((std::uint64_t{1} << EntryLength(e)) - 1));
  }

 private:
  void MakeUnusable();
  void FillDecode(const std::uint8_t* lengths, int count, const std::uint32_t* codes,
                  const std::uint32_t* extras);

  int alphabetSize_;
  Usage usage_;
  int maxLength_;
  int rootLimit_;
  int longest_ = 0;
  int root_ = 0;
  std::uint32_t mask_ = 0;
  std::vector<std::uint32_t> decode_;
  std::vector<std::uint32_t> encode_;
};

// The fixed codes (lengths 8/9/7/8 over 288 symbols, 5 bits over 32 distance
// symbols), built once and shared. Extra-bit counts follow the variant.
const TPlDfDecodeHuffmanTree& FixedLitLenTree(bool deflate64);
const TPlDfDecodeHuffmanTree& FixedDistTree();

// Reverses the low count (at most 16) bits of code. Without a loop: the
// decoder's tables reverse every code of every block.
constexpr std::uint32_t ReverseBits(std::uint32_t code, int count) {
  std::uint32_t v = code & 0xFFFF;
  v = ((v >> 1) & 0x5555) | ((v & 0x5555) << 1);
  v = ((v >> 2) & 0x3333) | ((v & 0x3333) << 2);
  v = ((v >> 4) & 0x0F0F) | ((v & 0x0F0F) << 4);
  v = ((v >> 8) & 0x00FF) | ((v & 0x00FF) << 8);
  return v >> (16 - count);
}
static_assert(ReverseBits(0b1101, 4) == 0b1011 && ReverseBits(1, 15) == 0x4000 &&
              ReverseBits(0b10, 2) == 0b01);
