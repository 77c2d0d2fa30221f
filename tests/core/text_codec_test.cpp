#include "core/text_codec.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8Validity : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validity, Classifies) { EXPECT_EQ(IsValidUtf8(GetParam().bytes), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Validity,
    testing::Values(
        Utf8Case{"Empty", "", true}, Utf8Case{"Ascii", "abc\x7f", true},
        Utf8Case{"Nul", "a\0b"s, true}, Utf8Case{"TwoByte", "\xc3\xa9", true},
        Utf8Case{"ThreeByte", "\xe2\x82\xac", true},
        Utf8Case{"FourByteMax", "\xf4\x8f\xbf\xbf", true},
        Utf8Case{"OverlongTwo", "\xc0\xaf", false}, Utf8Case{"OverlongC1", "\xc1\xbf", false},
        Utf8Case{"OverlongThree", "\xe0\x9f\xbf", false},
        Utf8Case{"OverlongFour", "\xf0\x8f\xbf\xbf", false},
        Utf8Case{"Surrogate", "\xed\xa0\x80", false},
        Utf8Case{"LastBeforeSurrogates", "\xed\x9f\xbf", true},
        Utf8Case{"AboveMax", "\xf4\x90\x80\x80", false},
        Utf8Case{"LeadF5", "\xf5\x80\x80\x80", false}, Utf8Case{"LoneContinuation", "\x80", false},
        Utf8Case{"Truncated", "\xe2\x82", false}, Utf8Case{"BadContinuation", "\xc3\x28", false},
        Utf8Case{"Cp1252Word", "caf\xe9", false}),
    [](const testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

struct Cp1252Case {
  unsigned char byte;
  std::string utf8;
};

void PrintTo(const Cp1252Case& c, std::ostream* os) { *os << static_cast<int>(c.byte); }

class Cp1252Bytes : public testing::TestWithParam<Cp1252Case> {};

TEST_P(Cp1252Bytes, ConvertBothWays) {
  const std::string byte(1, static_cast<char>(GetParam().byte));
  EXPECT_EQ(Cp1252ToUtf8(byte), GetParam().utf8);
  EXPECT_EQ(Utf8ToCp1252(GetParam().utf8), byte);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp1252Bytes,
                         testing::Values(Cp1252Case{'A', "A"}, Cp1252Case{0x00, "\0"s},
                                         Cp1252Case{0x80, "\xe2\x82\xac"},  // euro sign
                                         Cp1252Case{0x81, "\xc2\x81"}, Cp1252Case{0x8d, "\xc2\x8d"},
                                         Cp1252Case{0x8f, "\xc2\x8f"}, Cp1252Case{0x90, "\xc2\x90"},
                                         Cp1252Case{0x9d, "\xc2\x9d"},
                                         Cp1252Case{0x8a, "\xc5\xa0"},      // S caron
                                         Cp1252Case{0x99, "\xe2\x84\xa2"},  // trade mark
                                         Cp1252Case{0x9f, "\xc5\xb8"},      // Y diaeresis
                                         Cp1252Case{0xa0, "\xc2\xa0"}, Cp1252Case{0xe9, "\xc3\xa9"},
                                         Cp1252Case{0xff, "\xc3\xbf"}));

TEST(Cp1252, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252, CharactersWithoutAFormGiveNothing) {
  EXPECT_EQ(Utf8ToCp1252("a\xc4\x80"), std::nullopt);         // A macron
  EXPECT_EQ(Utf8ToCp1252("\xc2\x80"), std::nullopt);          // U+0080 is not byte 0x80
  EXPECT_EQ(Utf8ToCp1252("\xf0\x9f\x94\x91"), std::nullopt);  // emoji
  EXPECT_EQ(Utf8ToCp1252("caf\xe9"), std::nullopt);           // not UTF-8 at all
}

TEST(Display, KeepsUtf8AndDecodesOtherBytes) {
  EXPECT_EQ(DisplayUtf8("caf\xc3\xa9"), "caf\xc3\xa9");
  EXPECT_EQ(DisplayUtf8("caf\xe9 \x80"), "caf\xc3\xa9 \xe2\x82\xac");
  EXPECT_EQ(DisplayUtf8(""), "");
}

TEST(SequenceLength, CountsWholeSequencesAndRejectsStrays) {
  const std::string text = "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x94\x91\x80";
  EXPECT_EQ(Utf8SequenceLength(text, 0), 1u);
  EXPECT_EQ(Utf8SequenceLength(text, 1), 2u);
  EXPECT_EQ(Utf8SequenceLength(text, 3), 3u);
  EXPECT_EQ(Utf8SequenceLength(text, 6), 4u);
  EXPECT_EQ(Utf8SequenceLength(text, 10), 0u);
  EXPECT_EQ(Utf8SequenceLength(text, 2), 0u);  // inside a sequence
}

}  // namespace
