// CRC-32 and Adler-32 against zlib, and the settings record's rules.
#include <gtest/gtest.h>
#include <zlib.h>

#include "archive/codec/adler32.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate_helper.h"
#include "bit_writer.h"

namespace {

TEST(Crc32Test, TableAndCheckValue) {
  EXPECT_EQ(Crc32Table()[1], 0x77073096u);
  EXPECT_EQ(Crc32Table()[255], 0x2D02EF8Du);
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(Crc32("", 0), 0u);
}

class ChecksumAgainstZlibTest : public ::testing::TestWithParam<std::size_t> {};

// Every size and start offset exercises the 8-byte loop and its tail.
TEST_P(ChecksumAgainstZlibTest, CrcAndAdlerAgreeWithZlib) {
  const std::string data = RandomBytes(GetParam() + 8, 21);
  for (std::size_t offset = 0; offset < 8; ++offset) {
    const auto* p = reinterpret_cast<const Bytef*>(data.data() + offset);
    const std::size_t n = GetParam();
    EXPECT_EQ(Crc32(p, n), crc32(0, p, static_cast<uInt>(n)));
    EXPECT_EQ(Adler32Update(1, p, n), adler32(1, p, static_cast<uInt>(n)));
    // Continuing a running value equals one pass.
    std::uint32_t split = Crc32Update(Crc32Update(0xFFFFFFFFu, p, n / 3), p + n / 3, n - n / 3);
    EXPECT_EQ(~split, crc32(0, p, static_cast<uInt>(n)));
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ChecksumAgainstZlibTest,
                         ::testing::Values<std::size_t>(0, 1, 7, 8, 9, 15, 16, 17, 100, 5551, 5552,
                                                        5553, 65536, 300001));

TEST(DeflateHelperTest, NewRecordHoldsLetterNWithOlderParameters) {
  TPlDeflateHelper h;
  EXPECT_EQ(h.LevelLetter(), 'n');
  EXPECT_EQ(h.SufficientLength(), 8);
  EXPECT_EQ(h.ChainLimit(), 32);
  EXPECT_EQ(h.LazyLimit(), 16);
  EXPECT_EQ(h.Options(), 15u);
  EXPECT_EQ(h.CheckWord, 0xFFFFFFFFu);
  EXPECT_EQ(h.WindowBytes, 32768u);
  EXPECT_EQ(h.OutputLimit, 0);
}

struct LevelCase {
  char letter;
  std::uint32_t optionsBefore;
  std::uint32_t options;
  std::int32_t sufficient, chain, lazy;
  char letterAfter;
};

class LevelLetterTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelLetterTest, SetsTheTableRow) {
  const LevelCase& c = GetParam();
  TPlDeflateHelper h;
  h.SetLevelLetter('0');  // leave 'n' so that setting 'n' is a change
  h.SetOptions(c.optionsBefore);
  h.SetLevelLetter(c.letter);
  EXPECT_EQ(h.Options(), c.options);
  EXPECT_EQ(h.SufficientLength(), c.sufficient);
  EXPECT_EQ(h.ChainLimit(), c.chain);
  EXPECT_EQ(h.LazyLimit(), c.lazy);
  EXPECT_EQ(h.LevelLetter(), c.letterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LevelLetterTest,
    ::testing::Values(
        LevelCase{'0', 0x2F, 0x21, 8, 32, 16, '0'}, LevelCase{'2', 0x20, 0x2F, 8, 32, 16, '2'},
        LevelCase{'f', 0x08, 0x0F, 4, 32, 6, 'f'}, LevelCase{'F', 0x00, 0x07, 4, 32, 6, 'f'},
        LevelCase{'n', 0x10, 0x1F, 16, 32, 24, 'n'}, LevelCase{'N', 0x00, 0x0F, 16, 32, 24, 'n'},
        LevelCase{'s', 0x00, 0x07, 4, 4, 4, 's'}, LevelCase{'x', 0x00, 0x0F, 64, 4096, 258, 'x'},
        // Unknown letters change nothing (the record stays custom).
        LevelCase{'q', 0x05, 0x05, 8, 32, 16, '?'}));

TEST(DeflateHelperTest, SettingTheHeldLetterAgainChangesNothing) {
  TPlDeflateHelper h;
  h.SetLevelLetter('n');
  EXPECT_EQ(h.SufficientLength(), 8);  // still the new record's parameters
  EXPECT_EQ(h.LevelLetter(), 'n');
}

struct RuleCase {
  std::int32_t value;
  std::int32_t stored;
  char letter;
};

class SettingRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(SettingRuleTest, AppliesToAllThreeParameters) {
  const RuleCase& c = GetParam();
  for (int which = 0; which < 3; ++which) {
    TPlDeflateHelper h;
    h.SetLevelLetter('x');  // 64, 4096, 258
    if (which == 0) h.SetSufficientLength(c.value);
    if (which == 1) h.SetChainLimit(c.value);
    if (which == 2) h.SetLazyLimit(c.value);
    std::int32_t got = which == 0   ? h.SufficientLength()
                       : which == 1 ? h.ChainLimit()
                                    : h.LazyLimit();
    std::int32_t before = which == 0 ? 64 : which == 1 ? 4096 : 258;
    EXPECT_EQ(got, c.stored == 0 ? before : c.stored) << which;
    EXPECT_EQ(h.LevelLetter(), c.value == before ? 'x' : c.letter) << which;
  }
}

INSTANTIATE_TEST_SUITE_P(Rule, SettingRuleTest,
                         ::testing::Values(RuleCase{-1, -1, '?'}, RuleCase{0, 4, '?'},
                                           RuleCase{3, 4, '?'}, RuleCase{4, 4, '?'},
                                           RuleCase{-5, 4, '?'}, RuleCase{100, 100, '?'}));

TEST(DeflateHelperTest, EqualValueKeepsTheLetter) {
  TPlDeflateHelper h;
  h.SetLevelLetter('x');
  h.SetChainLimit(4096);
  h.SetOptions(h.Options());
  EXPECT_EQ(h.LevelLetter(), 'x');
  h.SetOptions(h.Options() | 0x20);
  EXPECT_EQ(h.LevelLetter(), '?');
}

}  // namespace
