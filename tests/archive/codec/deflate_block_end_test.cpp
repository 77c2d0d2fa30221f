// Where the encoder ends blocks near the end of the input: the last one or
// two bytes join the final block even when the block-end rule has just fired.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "archive/codec/deflate.h"
#include "archive/streams.h"
#include "zlib_oracle.h"

namespace {

// Bytes from a 64-letter alphabet with no three-byte sequence twice, so the
// matcher finds nothing and every byte is a literal, while the small
// alphabet makes a dynamic block the smallest kind.
std::string LiteralsOnly(std::size_t size) {
  constexpr int kLetters = 64;
  std::mt19937 random(13);
  std::vector<bool> seen(kLetters * kLetters * kLetters);
  std::vector<int> letters;
  for (std::size_t i = 0; i < size; ++i) {
    int c = static_cast<int>(random() % kLetters);
    if (i >= 2) {
      const int prefix = (letters[i - 2] * kLetters + letters[i - 1]) * kLetters;
      int tries = 0;
      while (seen[prefix + c] && ++tries < kLetters) c = (c + 1) % kLetters;
      EXPECT_FALSE(seen[prefix + c]) << "alphabet too small at " << i;
      seen[prefix + c] = true;
    }
    letters.push_back(c);
  }
  std::string out;
  for (int c : letters) out += static_cast<char>(' ' + c);
  return out;
}

struct TailCase {
  std::size_t size;
  std::vector<std::size_t> blocks;  // output bytes of each block
};

void PrintTo(const TailCase& c, std::ostream* os) { *os << c.size << " bytes"; }

class BlockEndTest : public ::testing::TestWithParam<TailCase> {};

TEST_P(BlockEndTest, LastBytesJoinTheFinalBlock) {
  const std::string input = LiteralsOnly(GetParam().size);
  TMemoryStream source(input);
  TMemoryStream dest;
  Deflate(source, dest, nullptr);
  const std::string packed = dest.TakeBytes();
  EXPECT_EQ(ZlibBlockSizes(packed), GetParam().blocks);
  std::string back;
  ASSERT_TRUE(ZlibInflateRaw(packed, back));
  EXPECT_EQ(back, input);
  const bool oneBlock = GetParam().blocks.size() == 1;
  EXPECT_EQ(packed.at(0) & 7, oneBlock ? 5 : 4);  // BFINAL, BTYPE dynamic
}

// A block ends at 32,768 items, acted on before the next matcher pass; only
// a third byte left over makes that pass happen.
INSTANTIATE_TEST_SUITE_P(Sizes, BlockEndTest,
                         ::testing::Values(TailCase{32767, {32767}}, TailCase{32769, {32769}},
                                           TailCase{32770, {32770}}, TailCase{32771, {32768, 3}}));

}  // namespace
