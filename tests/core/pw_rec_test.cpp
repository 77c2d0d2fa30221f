#include "core/pw_rec.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

struct LineCase {
  const char* name;
  std::string line;
  std::string site, user, pw, url, rawNote;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class ParseLine : public testing::TestWithParam<LineCase> {};

TEST_P(ParseLine, SplitsIntoFields) {
  const LineCase& c = GetParam();
  TqelPwRec rec;
  rec.SetLine(c.line);
  EXPECT_EQ(rec.Site(), c.site);
  EXPECT_EQ(rec.User(), c.user);
  EXPECT_EQ(rec.PW(), c.pw);
  EXPECT_EQ(rec.URL(), c.url);
  EXPECT_EQ(rec.RawNote(), c.rawNote);
  EXPECT_EQ(SiteNameOf(c.line), c.site);
}

INSTANTIATE_TEST_SUITE_P(
    OddLines, ParseLine,
    testing::Values(
        LineCase{"Full", "Bank=joe\tpw1\thttp://b\ta\\nb", "Bank", "joe", "pw1", "http://b",
                 "a\\nb"},
        LineCase{"NoEquals", "joe\tpw\turl\tn", "", "joe", "pw", "url", "n"},
        LineCase{"NoTab", "Bank=joe", "Bank", "joe", "", "", ""},
        LineCase{"Empty", "", "", "", "", "", ""},
        LineCase{"OnlySeparators", "=\t\t\t", "", "", "", "", ""},
        LineCase{"SecondEqualsInUser", "A=B=C\tp", "A", "B=C", "p", "", ""},
        LineCase{"BlanksTrimmedButNotInNote", " S \x01= u \t p\t\x1f u \t n ", "S", "u", " p", "u",
                 " n "},
        LineCase{"AdjacentTabsKeepPlaces", "S=\t\turl\tnote", "S", "", "", "url", "note"},
        LineCase{"LeadingTabEmptiesUser", "S=\tpw", "S", "", "pw", "", ""},
        LineCase{"AfterFourthTabIgnored", "S=u\tp\tl\tn\textra", "S", "u", "p", "l", "n"},
        LineCase{"HighBytesKept", "Caf\xc3\xa9=\xe9t\xe9\tp", "Caf\xc3\xa9", "\xe9t\xe9", "p", "",
                 ""}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(Line, AllEmptyRecordIsEqualsAndThreeTabs) { EXPECT_EQ(TqelPwRec().Line(), "=\t\t\t"); }

TEST(Line, BuiltFromFieldsWithEncodedNote) {
  TqelPwRec rec;
  rec.SetSite("Bank");
  rec.SetUser("joe");
  rec.SetPW("pw1");
  rec.SetNote("a\r\nb");
  EXPECT_EQ(rec.Line(), "Bank=joe\tpw1\t\ta\\nb");
}

TEST(Line, SettersTrimButKeepInnerCharacters) {
  TqelPwRec rec;
  rec.SetSite("\t a=b \r\n");
  rec.SetUser(" \x7f ");  // DEL is above 32 and stays
  rec.SetPW("   ");
  rec.SetURL("\x00x\x00"s);
  EXPECT_EQ(rec.Site(), "a=b");
  EXPECT_EQ(rec.User(), "\x7f");
  EXPECT_EQ(rec.PW(), "   ");  // a password is stored exactly
  EXPECT_EQ(rec.URL(), "x");
}

TEST(Line, SettingLineOverwritesEveryField) {
  TqelPwRec rec;
  rec.SetLine("S=u\tp\tl\tn");
  rec.SetLine("T");
  EXPECT_EQ(rec.Line(), "=T\t\t\t");
}

TEST(Line, ShorterLineAfterALongerOneKeepsNothingOfIt) {
  TqelPwRec rec;
  rec.SetLine("A long site name=a long user name\ta long password\thttps://long.example\tlong note");
  rec.SetLine("B=u\tp\tl\tn");
  EXPECT_EQ(rec.Line(), "B=u\tp\tl\tn");
  EXPECT_EQ(rec.PW(), "p");
}

TEST(Line, CloneIsIndependentCopyOfTheLine) {
  TqelPwRec rec;
  rec.SetLine(" S =u\tp\tl\t n\\tx ");
  const std::unique_ptr<TqelPwRec> copy = rec.Clone();
  ASSERT_NE(copy.get(), &rec);
  EXPECT_EQ(copy->Line(), rec.Line());
  EXPECT_EQ(copy->RawNote(), " n\\tx ");
  rec.SetSite("changed");
  EXPECT_EQ(copy->Site(), "S");
}

struct NoteCase {
  const char* name;
  std::string typed;    // what the user enters
  std::string stored;   // the encoded form
  std::string decoded;  // what reading Note gives back
};

void PrintTo(const NoteCase& c, std::ostream* os) { *os << c.name; }

class NoteEscaping : public testing::TestWithParam<NoteCase> {};

TEST_P(NoteEscaping, EncodesAndDecodes) {
  const NoteCase& c = GetParam();
  TqelPwRec rec;
  rec.SetNote(c.typed);
  EXPECT_EQ(rec.RawNote(), c.stored);
  EXPECT_EQ(rec.Note(), c.decoded);
  // The line form carries the note through a reload unchanged.
  TqelPwRec reloaded;
  reloaded.SetLine(rec.Line());
  EXPECT_EQ(reloaded.Note(), c.decoded);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, NoteEscaping,
    testing::Values(NoteCase{"PathBreakTab", "C:\\Temp\r\nx\ty", "C:\\\\Temp\\nx\\ty",
                             "C:\\Temp\r\nx\ty"},
                    NoteCase{"TrimmedAndCrRemoved", " a\r\nb \r\n\r\n", "a\\nb", "a\r\nb"},
                    NoteCase{"BackslashLetters", "C:\\new\\Temp\\N\\T",
                             "C:\\\\new\\\\Temp\\\\N\\\\T", "C:\\new\\Temp\\N\\T"},
                    NoteCase{"OnlyBlanksAndBreaks", " \r\n \t\r\n", "", ""},
                    NoteCase{"LoneLfBecomesCrLf", "a\nb", "a\\nb", "a\r\nb"},
                    NoteCase{"LoneCrDropped", "a\rb", "ab", "ab"},
                    NoteCase{"TrailingBackslash", "end\\", "end\\\\", "end\\"},
                    NoteCase{"InnerTabKept", "a\t\tb", "a\\t\\tb", "a\t\tb"}),
    [](const testing::TestParamInfo<NoteCase>& info) { return std::string(info.param.name); });

struct DecodeCase {
  std::string encoded;
  std::string decoded;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << testing::PrintToString(c.encoded); }

class DecodeForeign : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeForeign, HandlesUnusualEscapes) {
  EXPECT_EQ(DecodeNote(GetParam().encoded), GetParam().decoded);
}

INSTANTIATE_TEST_SUITE_P(Notes, DecodeForeign,
                         testing::Values(DecodeCase{"a\\Nb\\Tc", "a\r\nb\tc"},
                                         DecodeCase{"\\x\\", "\\x\\"}, DecodeCase{"\\\\n", "\\n"},
                                         DecodeCase{"\\\\\\n", "\\\r\n"},
                                         DecodeCase{"a\\\rn", "a\r\n"},
                                         DecodeCase{"raw\nlf", "raw\r\nlf"}, DecodeCase{"", ""}));

struct FieldCase {
  int n;
  std::string text;
  std::string field;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.n << " of " << testing::PrintToString(c.text);
}

class Fields : public testing::TestWithParam<FieldCase> {};

TEST_P(Fields, ExtractsNthField) {
  EXPECT_EQ(ExtractField(GetParam().n, GetParam().text, '\t'), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(Tabs, Fields,
                         testing::Values(FieldCase{0, "a\tb", ""}, FieldCase{-1, "a\tb", ""},
                                         FieldCase{1, "a\tb", "a"}, FieldCase{2, "a\tb", "b"},
                                         FieldCase{3, "a\tb", ""}, FieldCase{2, "a\t", ""},
                                         FieldCase{2, "\t\tc", ""}, FieldCase{3, "\t\tc", "c"},
                                         FieldCase{1, "", ""}, FieldCase{1, "abc", "abc"}));

TEST(Fields, CountIsDelimitersPlusOne) {
  EXPECT_EQ(FieldCount("", '\t'), 1);
  EXPECT_EQ(FieldCount("a\t\tb\t", '\t'), 4);
  EXPECT_EQ(FieldCount("a=b", '\t'), 1);
}

TEST(Trim, RemovesCodesUpTo32Only) {
  EXPECT_EQ(TrimControls(std::string("\x00\x01 \x20", 4)), "");
  EXPECT_EQ(TrimControls("\x21x\x21"), "\x21x\x21");
  EXPECT_EQ(TrimControls("\xa0x\xa0"), "\xa0x\xa0");  // high bytes are not blanks
  EXPECT_EQ(TrimControls(" a b "), "a b");
}

}  // namespace
