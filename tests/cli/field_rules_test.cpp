#include "cli/field_rules.h"

#include <gtest/gtest.h>

#include "cli/cli_error.h"
#include "core/pw_rec.h"

namespace cli {
namespace {

struct RuleCase {
  const char* name;
  TSiteFields fields;
  const char* message;  // nullptr: accepted
};

class FieldRulesTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(FieldRulesTest, ChecksLikeTheSiteEditor) {
  const auto message = CheckSiteFields(GetParam().fields);
  if (GetParam().message == nullptr) {
    EXPECT_FALSE(message.has_value()) << *message;
  } else {
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldRulesTest,
    ::testing::Values(
        RuleCase{"Plain", {"Bank", "joe", "pw", "https://b", "n"}, nullptr},
        RuleCase{"OuterBlanksAreTrimmedNotRefused",
                 {"\tBank\r\n", " joe\t", " pw ", "\turl\t", ""},
                 nullptr},
        RuleCase{"LineEndAfterPassword",
                 {"S", "", "pw\n", "", ""},
                 "The password cannot contain a line break."},
        RuleCase{"TabBeforePassword",
                 {"S", "", "\tpw", "", ""},
                 "The password cannot contain a tab character."},
        RuleCase{"NotesMayHoldAnything", {"S", "", "", "", "a\tb\r\nc\\n="}, nullptr},
        RuleCase{"EqualsElsewhereIsFine", {"S", "a=b", "p=q", "https://x/?a=b", ""}, nullptr},
        RuleCase{"EmptySite", {"", "u", "p", "", ""}, "Site name / Description must be filled"},
        RuleCase{"BlankSite", {" \t ", "u", "p", "", ""}, "Site name / Description must be filled"},
        RuleCase{"EqualsInSite", {"a=b", "", "", "", ""}, "The site name cannot contain \"=\"."},
        RuleCase{
            "TabInSite", {"a\tb", "", "", "", ""}, "The site name cannot contain a tab character."},
        RuleCase{
            "LfInUser", {"S", "a\nb", "", "", ""}, "The user name cannot contain a line break."},
        RuleCase{
            "CrInPassword", {"S", "", "a\rb", "", ""}, "The password cannot contain a line break."},
        RuleCase{"TabInUrl", {"S", "", "", "a\tb", ""}, "The URL cannot contain a tab character."},
        RuleCase{"NulInUser",
                 {"S", std::string("a\0b", 3), "", "", ""},
                 "The user name cannot contain a NUL character."},
        RuleCase{"NulInNotes",
                 {"S", "", "", "", std::string("a\0b", 3)},
                 "The notes cannot contain a NUL character."},
        RuleCase{"FirstFaultWins",
                 {"S", "a\tb", "c\nd", "", ""},
                 "The user name cannot contain a tab character."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldRulesTest, RequireValidSiteThrowsADataError) {
  try {
    RequireValidSite({"a=b", "", "", "", ""});
    FAIL() << "no error";
  } catch (const ECliError& e) {
    EXPECT_EQ(e.ExitCode(), kExitDataError);
  }
  EXPECT_NO_THROW(RequireValidSite({"a", "", "", "", ""}));
}

TEST(FieldRulesTest, FieldsRoundTripThroughARecord) {
  TqelPwRec rec;
  StoreFields({" Bank ", "joe", "pw", "url", "line 1\r\nline 2\n\\n"}, rec);
  EXPECT_EQ(rec.Line(), "Bank=joe\tpw\turl\tline 1\\nline 2\\n\\\\n");
  const TSiteFields back = FieldsOf(rec);
  EXPECT_EQ(back.site, "Bank");
  EXPECT_EQ(back.notes, "line 1\nline 2\n\\n");
}

struct LineBreakCase {
  std::string text;
  std::string lf;
};

class ToLfTest : public ::testing::TestWithParam<LineBreakCase> {};

TEST_P(ToLfTest, TurnsEveryLineBreakIntoLf) {
  EXPECT_EQ(ToLfLineBreaks(GetParam().text), GetParam().lf);
}

INSTANTIATE_TEST_SUITE_P(Texts, ToLfTest,
                         ::testing::Values(LineBreakCase{"", ""}, LineBreakCase{"a\r\nb", "a\nb"},
                                           LineBreakCase{"a\rb\n", "a\nb\n"},
                                           LineBreakCase{"\r\n\r\n", "\n\n"},
                                           LineBreakCase{"\n\r", "\n\n"},
                                           LineBreakCase{"a\r", "a\n"}));

}  // namespace
}  // namespace cli
