// Back-references at every short distance and several lengths, many in a row
// and past the window's flush point: the decoder copies them 16, 8 or 1 byte
// at a time depending on the distance and may write beyond the match's end,
// which the next copy must overwrite correctly.
#include <gtest/gtest.h>

#include <string>

#include "archive/codec/crc32.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

// Distance codes of RFC 1951 section 3.2.5 for distances up to 48.
void WriteDistance(BitWriter& w, int distance) {
  static const int kBase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49};
  static const int kExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4};
  int symbol = 0;
  while (kBase[symbol + 1] <= distance) ++symbol;
  w.FixedDistance(symbol);
  w.Bits(static_cast<std::uint32_t>(distance - kBase[symbol]), kExtra[symbol]);
}

// Lengths whose symbols carry no extra bits: 3 (257), 10 (264), 31 (272 +
// two zero bits) and 258 (285).
void WriteLength(BitWriter& w, int length) {
  switch (length) {
    case 3:
      w.FixedLiteral(257);
      break;
    case 10:
      w.FixedLiteral(264);
      break;
    case 31:
      w.FixedLiteral(272).Bits(0, 2);
      break;
    default:
      w.FixedLiteral(285);
      break;
  }
}

class InflateCopyTest : public ::testing::TestWithParam<int> {};

TEST_P(InflateCopyTest, RepeatedBackReferencesMatchAByteByByteCopy) {
  const int distance = GetParam();
  const std::string seed = RandomBytes(static_cast<std::size_t>(distance), 11);
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);  // final fixed block
  std::string expected;
  for (char c : seed) {
    w.FixedLiteral(static_cast<unsigned char>(c));
    expected += c;
  }
  const int kLengths[] = {3, 10, 31, 258};
  for (int round = 0; round < 700; ++round) {
    for (int length : kLengths) {
      WriteLength(w, length);
      WriteDistance(w, distance);
      for (int i = 0; i < length; ++i) expected += expected[expected.size() - distance];
    }
    // A literal between rounds lands right where the last copy overran.
    w.FixedLiteral(round & 0xFF);
    expected += static_cast<char>(round & 0xFF);
  }
  w.FixedLiteral(256);
  TMemoryStream source(w.Finish());
  TMemoryStream dest;
  const std::uint32_t crc = Inflate(source, dest, nullptr);
  ASSERT_EQ(dest.Bytes().size(), expected.size());
  EXPECT_TRUE(dest.Bytes() == expected);
  EXPECT_EQ(crc, Crc32(expected.data(), expected.size()));
}

INSTANTIATE_TEST_SUITE_P(Distances, InflateCopyTest,
                         ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 32, 33, 48));

}  // namespace
