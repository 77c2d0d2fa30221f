#include "core/search_fold.h"

#include <gtest/gtest.h>

#include "core/pw_rec.h"

namespace {

struct FoldCase {
  const char* text;
  const char* query;
  bool found;
};

class SearchFoldTest : public ::testing::TestWithParam<FoldCase> {};

TEST_P(SearchFoldTest, QueryFoundIgnoringCaseAndAccents) {
  const FoldCase& c = GetParam();
  EXPECT_EQ(SearchMatches(FoldForSearch(c.text), FoldForSearch(c.query)), c.found)
      << c.text << " / " << c.query;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchFoldTest,
    ::testing::Values(FoldCase{"München", "munchen", true}, FoldCase{"MÜNCHEN", "münch", true},
                      FoldCase{"Crème Brûlée", "CREME BRULEE", true},
                      // Decomposed input folds like the precomposed one.
                      FoldCase{"Cafe\xCC\x81", "café", true}, FoldCase{"Straße", "STRASSE", true},
                      FoldCase{"Bank", "banks", false},
                      // Old archives hold Windows-1252 bytes: 0xE9 is "é".
                      FoldCase{"Caf\xE9", "cafe", true}, FoldCase{"anything", "", true}));

TEST(SearchTextOf, FieldsSearchedDecodedAndApart) {
  TqelPwRec rec;
  rec.SetLine("Mail=Ana\tsecret\thttps://mail.example\tfirst\\nSécond");
  const std::string text = SearchTextOf(rec);
  EXPECT_TRUE(SearchMatches(text, FoldForSearch("ana")));
  EXPECT_TRUE(SearchMatches(text, FoldForSearch("MAIL.EXAMPLE")));
  // The notes are searched decoded: the escape "\n" is a line break.
  EXPECT_TRUE(SearchMatches(text, FoldForSearch("second")));
  EXPECT_FALSE(SearchMatches(text, FoldForSearch("\\n")));
  // The password is never searched, nor text spanning two fields.
  EXPECT_FALSE(SearchMatches(text, FoldForSearch("secret")));
  EXPECT_FALSE(SearchMatches(text, FoldForSearch("mailana")));
}

}  // namespace
