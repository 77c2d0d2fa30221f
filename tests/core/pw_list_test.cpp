#include "core/pw_list.h"

#include "core/collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

std::vector<std::string> Lines(const TqelPwList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}

std::vector<std::string> Loaded(const std::string& text) {
  TqelPwList list;
  list.LoadFromText(text);
  return Lines(list);
}

using Strings = std::vector<std::string>;

TEST(Order, SiteNamesIgnoreLetterCase) {
  EXPECT_EQ(Loaded("Zeta=z\r\nalpha=a\r\nBeta=b\r\n"), (Strings{"alpha=a", "Beta=b", "Zeta=z"}));
}

TEST(Order, CaseVariantsBothStayInByteOrder) {
  const Strings expected{"BANK=joe", "Bank=joe", "bank=joe"};
  EXPECT_EQ(Loaded("bank=joe\nBANK=joe\nBank=joe\n"), expected);
  EXPECT_EQ(Loaded("Bank=joe\nbank=joe\nBANK=joe\n"), expected);
}

TEST(Order, IdenticalLineIsDroppedAndAddReturnsItsIndex) {
  TqelPwList list;
  EXPECT_EQ(list.Add("b=1"), 0);
  EXPECT_EQ(list.Add("a=1"), 0);
  EXPECT_EQ(list.Add("c=1"), 2);
  EXPECT_EQ(list.Add("b=1"), 1);
  EXPECT_EQ(list.Add("B=1"), 1);  // case variant: a new line, before "b=1"
  EXPECT_EQ(Lines(list), (Strings{"a=1", "B=1", "b=1", "c=1"}));
}

TEST(Order, SameSiteDifferentUsersBothStay) {
  EXPECT_EQ(Loaded("Mail=bob\r\nMail=al\r\n"), (Strings{"Mail=al", "Mail=bob"}));
}

TEST(Order, AddMatchesLoadForAnyInsertionOrder) {
  const Strings lines{"m", "K=1", "k=1", "a", "", "Z", "z", "k=1", "Ärger", "apfel", "b"};
  TqelPwList added;
  for (const std::string& line : lines) added.Add(line);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  EXPECT_EQ(Lines(added), Loaded(text));
  EXPECT_EQ(added.Count(), 10);
}

struct SplitCase {
  const char* name;
  std::string text;
  Strings lines;  // in sorted order
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class Splitting : public testing::TestWithParam<SplitCase> {};

TEST_P(Splitting, LoadsLines) { EXPECT_EQ(Loaded(GetParam().text), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    Breaks, Splitting,
    testing::Values(
        SplitCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, SplitCase{"LfOnly", "a\nb\n", {"a", "b"}},
        SplitCase{"CrOnly", "a\rb\r", {"a", "b"}}, SplitCase{"NoFinalBreak", "a\r\nb", {"a", "b"}},
        SplitCase{"LfCrGivesEmptyLine", "a\n\rb", {"", "a", "b"}},
        SplitCase{"EmptyMiddleLine", "a\r\n\r\nb\r\n", {"", "a", "b"}},
        SplitCase{"StopsAtNul", "a\r\nb\0c\r\n"s, {"a", "b"}},
        SplitCase{"NulAfterBreak", "a\r\n\0b"s, {"a"}}, SplitCase{"LeadingNul", "\0a"s, {}},
        SplitCase{"Empty", "", {}}, SplitCase{"OnlyBreak", "\r\n", {""}},
        SplitCase{"CrCrIsTwoBreaks", "a\r\rb", {"", "a", "b"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(Streams, SortedTextRoundTripsByteForByte) {
  const std::string text =
      "alpha=a\tp\t\tn\\nx\r\nBeta=b\t\t\t\r\nbeta=b\t\t\t\r\nZeta=z\tq\turl\t\r\n";
  std::istringstream in(text);
  TqelPwList list;
  list.LoadFromStream(in);
  std::ostringstream out;
  list.SaveToStream(out);
  EXPECT_EQ(out.str(), text);
}

TEST(Streams, LoadReadsFromCurrentPositionAndReplacesContent) {
  TqelPwList list;
  list.Add("old");
  std::istringstream in("skip\r\nb\r\na\r\n");
  in.seekg(6);
  list.LoadFromStream(in);
  EXPECT_EQ(Lines(list), (Strings{"a", "b"}));
  list.LoadFromStream(in);  // now at its end
  EXPECT_EQ(list.Count(), 0);
}

TEST(Streams, EmptyListWritesNothingAfterExistingOutput) {
  TqelPwList list;
  std::ostringstream out("head", std::ios::ate);
  list.SaveToStream(out);
  EXPECT_EQ(out.str(), "head");
  list.Add("x");
  list.SaveToStream(out);
  EXPECT_EQ(out.str(), "headx\r\n");
}

TEST(Index, OutOfBoundsNamesTheIndex) {
  TqelPwList list;
  list.Add("a");
  for (const int bad : {-1, 1, 7}) {
    try {
      (void)list[bad];
      ADD_FAILURE() << "no error for " << bad;
    } catch (const std::out_of_range& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(bad) + ")");
    }
  }
  EXPECT_THROW(list.Rec(1), std::out_of_range);
}

TEST(Rec, ReturnsTheOneScratchRecordOverwrittenEachCall) {
  TqelPwList list;
  list.LoadFromText("a=u1\tp1\tl1\tn1\r\nb=u2\r\n");
  TqelPwRec& first = list.Rec(0);
  EXPECT_EQ(first.User(), "u1");
  const std::unique_ptr<TqelPwRec> kept = first.Clone();
  TqelPwRec& second = list.Rec(1);
  EXPECT_EQ(&first, &second);
  EXPECT_EQ(second.Site(), "b");
  EXPECT_EQ(second.PW(), "");
  EXPECT_EQ(second.RawNote(), "");
  EXPECT_EQ(kept->Site(), "a");
  EXPECT_EQ(kept->RawNote(), "n1");
}

TEST(Load, LargeUnsortedTextGivesSortedDistinctLines) {
  std::string text;
  for (int i = 2000; i > 0; --i) {
    const std::string number = std::to_string(1000 + i % 1000);  // same width: byte order holds
    text += "site" + number + "=u\r\n";
  }
  TqelPwList list;
  list.LoadFromText(text);
  ASSERT_EQ(list.Count(), 1000);
  for (int i = 1; i < list.Count(); ++i) EXPECT_LT(list[i - 1], list[i]) << i;  // ASCII digits
}

// Lines that stress the keyed sort: case and accent variants, Windows-1252
// bytes, punctuation, and names that share far more than the key head, so
// ties are settled by the full comparison.
Strings TrickyLines() {
  const Strings stems{"bank", "Bank", "BANK", "b\xc3\xa4nk", "B\xc3\x84NK", "b\xe4nk",
                      "caf\xe9", "CAF\xc3\x89", "", "-bank", "bank-", "bank=", "\x80uro",
                      "very long common site name that runs well past the key head "};
  Strings lines;
  for (const std::string& stem : stems) {
    for (int i = 0; i < 12; ++i) lines.push_back(stem + std::to_string(i % 5) + "=u" + std::to_string(i % 3));
  }
  return lines;  // holds identical lines: i and i + 5 share digits, i + 15 too
}

TEST(Load, ShuffledLinesGetTheOrderOfAddingOneByOne) {
  Strings lines = TrickyLines();
  TqelPwList oneByOne;
  for (const std::string& line : lines) oneByOne.Add(std::string_view(line));
  std::mt19937 random(7);
  for (int round = 0; round < 3; ++round) {
    std::shuffle(lines.begin(), lines.end(), random);
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    EXPECT_EQ(Loaded(text), Lines(oneByOne)) << round;
    TqelPwList many;
    many.Add(std::string_view("bank0=u0"));
    EXPECT_EQ(many.Add(lines), oneByOne.Count() - 1) << round;
    EXPECT_EQ(Lines(many), Lines(oneByOne)) << round;
  }
}

// Made lists of every shape the keyed sort treats apart: key heads that
// differ early, a prefix shared past the compared words (the full heads and
// then the texts decide), and case variants that tie until the bytes.
struct TMadeList {
  const char* name;
  std::string (*line)(int);
};

std::string Numbered(int i) { return "Site " + std::to_string(i) + " example=user" + std::to_string(i % 7); }
std::string SharedPrefix(int i) {
  return "www.a-very-long-shared-site-name-" + std::to_string(i % 50) + ".example=u" + std::to_string(i);
}
std::string CaseVariants(int i) {
  const std::string stem = (i % 3 == 0 ? "MAIL" : i % 3 == 1 ? "Mail" : "mail");
  return stem + std::to_string(i % 40) + "=x";
}

class MadeList : public testing::TestWithParam<TMadeList> {};

TEST_P(MadeList, ShuffledLoadGetsThePlainComparisonsOrder) {
  Strings lines;
  for (int i = 0; i < 600; ++i) lines.push_back(GetParam().line(i));
  std::shuffle(lines.begin(), lines.end(), std::mt19937(3));
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  Strings expected = lines;
  std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
    const int collated = CollateCompare(a, b);
    return collated != 0 ? collated < 0 : a < b;
  });
  expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
  EXPECT_EQ(Loaded(text), expected);
  // Loading the sorted text again takes the path for text already in order.
  std::string sorted;
  for (const std::string& line : expected) sorted += line + "\n";
  EXPECT_EQ(Loaded(sorted), expected);
}

INSTANTIATE_TEST_SUITE_P(Shapes, MadeList,
                         testing::Values(TMadeList{"Numbered", Numbered},
                                         TMadeList{"SharedPrefix", SharedPrefix},
                                         TMadeList{"CaseVariants", CaseVariants}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Load, LineViewsAreTheLoadedLinesInTextOrderWithRepeats) {
  const std::string text = "b=1\r\na=1\n\rb=1\rc";
  const std::vector<std::string_view> views = SiteLineViews(text);
  EXPECT_EQ(Strings(views.begin(), views.end()), (Strings{"b=1", "a=1", "", "b=1", "c"}));
  EXPECT_EQ(Loaded(text), (Strings{"", "a=1", "b=1", "c"}));
}

TEST(Index, RemoveTakesOutOneLineAndChecksTheIndex) {
  TqelPwList list;
  list.LoadFromText("c=3\nb=2\na=1\n");
  list.Remove(1);
  EXPECT_EQ(Lines(list), (Strings{"a=1", "c=3"}));
  EXPECT_THROW(list.Remove(2), std::out_of_range);
  EXPECT_EQ(list.TakeText(), "a=1\r\nc=3\r\n");
  EXPECT_EQ(list.Count(), 0);
}

TEST(Load, TakeRecordsParsesEveryLineInOrderAndEmptiesTheList) {
  TqelPwList list;
  list.LoadFromText("b=2\tpw\r\na=1\tpw\r\n");
  const auto recs = list.TakeRecords();
  ASSERT_EQ(recs.size(), 2u);
  EXPECT_EQ(recs[0]->Line(), "a=1\tpw\t\t");
  EXPECT_EQ(recs[1]->Site(), "b");
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
