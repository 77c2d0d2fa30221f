// The decoder's one-lookup table against canonical codes computed here
// independently (RFC 1951 section 3.2.2): every code decodes to its symbol's
// value whatever bits follow it, codes nobody has are bad, and lengths that
// over-subscribe the code space are refused.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

#include "archive/codec/inflate_table.h"

namespace {

using Table = TInflateTable;

struct Code {
  std::uint32_t reversed;  // as it appears in the stream, first bit lowest
  int length;
};

std::vector<Code> CanonicalCodes(const std::vector<std::uint8_t>& lengths) {
  std::array<std::uint32_t, 16> count{}, next{};
  for (std::uint8_t l : lengths) ++count[l];
  count[0] = 0;
  for (int bits = 1; bits < 16; ++bits) next[bits] = (next[bits - 1] + count[bits - 1]) << 1;
  std::vector<Code> codes;
  for (std::uint8_t l : lengths) {
    std::uint32_t code = l ? next[l]++ : 0, reversed = 0;
    for (int i = 0; i < l; ++i) reversed |= ((code >> (l - 1 - i)) & 1u) << i;
    codes.push_back({reversed, l});
  }
  return codes;
}

// Literal/length symbols 0..count-1 of the given lengths, Deflate.
void ExpectEverySymbolDecodes(const std::vector<std::uint8_t>& lengths) {
  Table table(Table::Kind::LitLen);
  ASSERT_TRUE(table.Build(lengths.data(), static_cast<int>(lengths.size())));
  const std::vector<Code> codes = CanonicalCodes(lengths);
  std::mt19937_64 rng(5);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] == 0) continue;
    for (int trial = 0; trial < 4; ++trial) {
      const std::uint64_t bits = codes[s].reversed | (rng() << codes[s].length);
      const std::uint32_t e = table.Lookup(bits);
      ASSERT_EQ(Table::CodeLength(e), static_cast<unsigned>(lengths[s])) << s;
      if (s < 256) {
        ASSERT_TRUE(e & Table::kLiteral) << s;
        ASSERT_EQ(Table::Value(e), s);
      } else {
        ASSERT_EQ((e & Table::kEnd) != 0, s == 256) << s;
      }
    }
  }
}

TEST(InflateTableTest, LongCodesDecodeBehindLinks) {
  // Short and 9-bit codes in the root, a tail of 12- to 15-bit codes behind
  // links into subtables of different sizes.
  std::vector<std::uint8_t> lengths(286, 0);
  for (int s = 0; s < 270; ++s) lengths[s] = 9;
  lengths[270] = 3;
  for (int s = 271; s < 279; ++s) lengths[s] = 12;
  for (int s = 279; s < 286; ++s) lengths[s] = 15;
  ExpectEverySymbolDecodes(lengths);
}

TEST(InflateTableTest, IncompleteCodeLeavesBadEntries) {
  std::vector<std::uint8_t> lengths(257, 0);
  lengths['a'] = 1;
  lengths[256] = 2;  // code 10; code 11 belongs to nobody
  ExpectEverySymbolDecodes(lengths);
  Table table(Table::Kind::LitLen);
  ASSERT_TRUE(table.Build(lengths.data(), 257));
  EXPECT_TRUE(table.Lookup(0b11) & Table::kBad);
}

TEST(InflateTableTest, OverSubscribedLengthsAreRefused) {
  const std::vector<std::uint8_t> lengths = {1, 1, 1};
  Table table(Table::Kind::Dist);
  EXPECT_FALSE(table.Build(lengths.data(), 3));
}

struct FixedCase {
  bool deflate64;
  bool distance;
  int symbol;
  std::uint32_t value;  // 0 with bad
  unsigned extra;
  bool bad;
};

class FixedTableTest : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedTableTest, SymbolsCarryTheVariantsBaseAndExtraBits) {
  const FixedCase& c = GetParam();
  const Table& table = c.distance ? FixedDistTable(c.deflate64) : FixedLitLenTable(c.deflate64);
  std::vector<std::uint8_t> lengths;
  for (int s = 0; s < (c.distance ? 32 : 288); ++s)
    lengths.push_back(c.distance ? 5 : s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8);
  const Code code = CanonicalCodes(lengths)[static_cast<std::size_t>(c.symbol)];
  const std::uint32_t e = table.Lookup(code.reversed);
  EXPECT_EQ((e & Table::kBad) != 0, c.bad);
  if (c.bad) return;
  EXPECT_EQ(Table::Value(e), c.value);
  EXPECT_EQ(Table::ExtraBits(e), c.extra);
  EXPECT_EQ(Table::CodeLength(e), static_cast<unsigned>(code.length));
}

INSTANTIATE_TEST_SUITE_P(
    Variants, FixedTableTest,
    ::testing::Values(FixedCase{false, false, 257, 3, 0, false},
                      FixedCase{false, false, 284, 227, 5, false},
                      FixedCase{false, false, 285, 258, 0, false},
                      FixedCase{true, false, 285, 3, 16, false},
                      FixedCase{false, false, 286, 0, 0, true},
                      FixedCase{true, false, 287, 0, 0, true},
                      FixedCase{false, true, 29, 24577, 13, false},
                      FixedCase{false, true, 30, 0, 0, true},
                      FixedCase{true, true, 30, 32769, 14, false},
                      FixedCase{true, true, 31, 49153, 14, false}));

}  // namespace
