#include "interchange/site_lines.h"

#include <gtest/gtest.h>

namespace interchange {
namespace {

struct LineCase {
  const char* name;
  TSiteFields fields;
  bool fix;
  std::string line;  // empty: refused
  std::vector<std::string> changes{};
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class SiteLinesTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SiteLinesTest, KeepsPasswordsAndNotesAndReportsEveryChange) {
  const LineCase& c = GetParam();
  TSiteImport imported;
  imported.sites.push_back({.fields = c.fields, .line = 7});
  const TSiteLines got = SiteLinesOf(imported, c.fix);
  if (c.line.empty()) {
    EXPECT_TRUE(got.lines.empty());
    ASSERT_EQ(got.refused.size(), 1u);
    EXPECT_EQ(got.refused[0].where, "line 7");
  } else {
    EXPECT_EQ(got.lines, std::vector<std::string>{c.line});
    EXPECT_TRUE(got.refused.empty());
  }
  std::vector<std::string> changes;
  for (const TImportIssue& change : got.changes) changes.push_back(change.message);
  EXPECT_EQ(changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, SiteLinesTest,
    ::testing::Values(
        LineCase{"NotesKeptExactly", {"A", "u", "p", "", " two\nlines\n"}, false,
                 "A=u\tp\t\t two\\nlines\\n"},
        LineCase{"NamesTrimmedAndSaidSo", {"Mail ", " joe", "p", "u ", ""}, false,
                 "Mail=joe\tp\tu\t",
                 {"site name: blanks at the ends removed", "user name: blanks at the ends removed",
                  "URL: blanks at the ends removed"}},
        LineCase{"PasswordBlanksRefused", {"A", "", " spaced pw ", "", ""}, false, ""},
        LineCase{"PasswordTrimmedWithFix", {"A", "", " spaced pw ", "", ""}, true,
                 "A=\tspaced pw\t\t", {"password: blanks at the ends removed"}},
        LineCase{"InnerBlanksStay", {"A", "", "a b", "", ""}, false, "A=\ta b\t\t"},
        LineCase{"EqualsFixed", {"a=b", "", "p", "", ""}, true, "a b=\tp\t\t",
                 {"site name: \"=\" replaced by a blank"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace interchange
