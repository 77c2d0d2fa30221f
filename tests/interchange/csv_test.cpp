#include "interchange/csv.h"

#include <gtest/gtest.h>

namespace interchange {
namespace {

struct QuoteCase {
  std::string field;
  std::string written;
};

class CsvFieldTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField(GetParam().field), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CsvFieldTest,
    ::testing::Values(QuoteCase{"", ""}, QuoteCase{"plain text", "plain text"},
                      QuoteCase{" padded ", " padded "}, QuoteCase{"a,b", "\"a,b\""},
                      QuoteCase{"say \"hi\"", "\"say \"\"hi\"\"\""}, QuoteCase{"\"", "\"\"\"\""},
                      QuoteCase{"two\nlines", "\"two\nlines\""}, QuoteCase{"cr\r", "\"cr\r\""},
                      QuoteCase{"tab\there", "tab\there"}, QuoteCase{"ünï€", "ünï€"}));

TEST(CsvRecordTextTest, JoinsWithCommasAndEndsWithCrLf) {
  EXPECT_EQ(CsvRecordText({"a", "", "b,c", ""}), "a,,\"b,c\",\r\n");
  EXPECT_EQ(CsvRecordText({""}), "\r\n");
}

struct ParseCase {
  const char* name;
  std::string text;
  std::vector<TCsvRecord> records;
  std::vector<int> lines;
};

class ParseCsvTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCsvTest, GivesTheRecords) {
  const std::vector<TCsvRow> rows = ParseCsv(GetParam().text);
  ASSERT_EQ(rows.size(), GetParam().records.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].fields, GetParam().records[i]) << "record " << i;
    EXPECT_EQ(rows[i].line, GetParam().lines[i]) << "record " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCsvTest,
    ::testing::Values(
        ParseCase{"Empty", "", {}, {}}, ParseCase{"OneFieldNoLineBreak", "a", {{"a"}}, {1}},
        ParseCase{"CrLf", "a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        ParseCase{"Lf", "a,b\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
        ParseCase{"LoneCr", "a\rb\r", {{"a"}, {"b"}}, {1, 2}},
        ParseCase{"EmptyFields", ",,\r\n", {{"", "", ""}}, {1}},
        ParseCase{"TrailingComma", "a,", {{"a", ""}}, {1}},
        ParseCase{"EmptyLine", "a\n\nb\n", {{"a"}, {""}, {"b"}}, {1, 2, 3}},
        ParseCase{"QuotedComma", "\"a,b\",c", {{"a,b", "c"}}, {1}},
        ParseCase{"DoubledQuotes", "\"say \"\"hi\"\"\",\"\"\"\"", {{"say \"hi\"", "\""}}, {1}},
        ParseCase{"EmptyQuoted", "\"\",x", {{"", "x"}}, {1}},
        ParseCase{
            "LineBreaksInQuotes", "\"a\r\nb\nc\rd\",e\nf", {{"a\r\nb\nc\rd", "e"}, {"f"}}, {1, 5}},
        ParseCase{"StrayQuoteInPlainField", "ab\"c,d", {{"ab\"c", "d"}}, {1}},
        ParseCase{"QuotedLastFieldAtEnd", "a,\"b\"", {{"a", "b"}}, {1}},
        ParseCase{"ShorterRecordsAfterLonger", "aaaa,b,c\r\nd\r\n\"e\",ff",
                  {{"aaaa", "b", "c"}, {"d"}, {"e", "ff"}}, {1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
  const char* name;
  std::string text;
  int line;
  const char* message;
};

class ParseCsvErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ParseCsvErrorTest, ThrowsWithTheLine) {
  try {
    ParseCsv(GetParam().text);
    FAIL() << "no error";
  } catch (const ECsvError& e) {
    EXPECT_EQ(e.Line(), GetParam().line);
    EXPECT_STREQ(e.what(), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseCsvErrorTest,
    ::testing::Values(ErrorCase{"Unclosed", "a\n\"b\nc", 2, "a quoted field is not closed"},
                      ErrorCase{"UnclosedAtEnd", "\"", 1, "a quoted field is not closed"},
                      ErrorCase{"TextAfterQuote", "\"a\"b", 1,
                                "unexpected text after a closing quote"},
                      ErrorCase{"TextAfterQuoteLater", "\"x\ny\"\n\"a\" ,b", 3,
                                "unexpected text after a closing quote"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvRoundTripTest, WrittenRecordsReadBackUnchanged) {
  const std::vector<TCsvRecord> records = {{"site", "user", "password", "url", "notes"},
                                           {"a,b", "\"q\"", "", " x ", "l1\nl2\r\nl3"},
                                           {"", "", "", "", ""},
                                           {"\"", ",", "\n", "\r\n", "\"\""}};
  std::string text;
  for (const TCsvRecord& r : records) text += CsvRecordText(r);
  const std::vector<TCsvRow> rows = ParseCsv(text);
  ASSERT_EQ(rows.size(), records.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].fields, records[i]);
}

}  // namespace
}  // namespace interchange
