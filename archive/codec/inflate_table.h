#pragma once
// Decoding table of the inflater's literal/length and distance codes.
//
// One lookup of the next kRootBits input bits (least significant first)
// gives everything a symbol needs: for a literal its byte, for a length or
// distance its base value and extra-bit count, so no second table is read.
// Entry layout: code length in bits 0-5 (the decoder shifts by it), the bad
// flag in bit 7, extra-bit count in bits 8-12, kind flags in bits 13-15,
// value in bits 16-31 (literal byte, base value, or a link's subtable start). Codes longer than the root
// are rare; their root entry is a link whose extra-bit field holds the
// subtable's index bits. Entries no code reaches, and symbols that the
// variant gives no meaning (lengths 286 and 287; distances 30 and 31 in
// Deflate), are marked bad and reject the stream when decoded.

#include <cstdint>
#include <vector>

class TInflateTable {
 public:
  enum class Kind { LitLen, LitLen64, Dist, Dist64 };
  static constexpr std::uint32_t kLiteral = 0x2000;
  static constexpr std::uint32_t kEnd = 0x4000;
  static constexpr std::uint32_t kLink = 0x8000;
  static constexpr std::uint32_t kBad = 0x80;

  explicit TInflateTable(Kind kind);

  // Assigns canonical codes to count lengths (0 = absent, at most 15);
  // false when they over-subscribe the code space.
  bool Build(const std::uint8_t* lengths, int count);

  static constexpr int RootBitsOf(Kind kind) {
    return kind == Kind::LitLen || kind == Kind::LitLen64 ? 11 : 8;
  }
  int RootBits() const { return root_; }
  const std::uint32_t* Entries() const { return entries_.data(); }
  // The entry for the next bits, links followed.
  std::uint32_t Lookup(std::uint64_t bits) const {
    std::uint32_t e = entries_[bits & ((1u << root_) - 1)];
    return (e & kLink) ? entries_[LinkTarget(e, bits >> root_)] : e;
  }

  static constexpr unsigned CodeLength(std::uint32_t e) { return e & 0x3F; }
  static constexpr unsigned ExtraBits(std::uint32_t e) { return (e >> 8) & 0x1F; }
  static constexpr std::uint32_t Value(std::uint32_t e) { return e >> 16; }
  static constexpr std::size_t LinkTarget(std::uint32_t e, std::uint64_t rest) {
    return Value(e) + (rest & ((std::uint64_t{1} << ExtraBits(e)) - 1));
  }

 private:
  std::uint32_t SymbolEntry(int symbol, unsigned length) const;

  Kind kind_;
  int root_;
  std::vector<std::uint32_t> entries_;
};

// The fixed codes' tables, built once.
const TInflateTable& FixedLitLenTable(bool deflate64);
const TInflateTable& FixedDistTable(bool deflate64);
