#include "interchange/site_lines.h"

#include <gtest/gtest.h>

#include "core/pw_rec.h"

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
        LineCase{"PasswordBlanksKept", {"A", "", " spaced pw ", "", ""}, false,
                 "A=\t spaced pw \t\t"},
        LineCase{"PasswordBlanksKeptWithFix", {"A", "", " spaced pw ", "", ""}, true,
                 "A=\t spaced pw \t\t"},
        LineCase{"TabAtPasswordEndRefused", {"A", "", "pw\t", "", ""}, false, ""},
        LineCase{"LineEndAtPasswordEndFixed", {"A", "", "pw\r\n", "", ""}, true, "A=\tpw  \t\t",
                 {"password: tab or line break replaced by a blank"}},
        LineCase{"InnerBlanksStay", {"A", "", "a b", "", ""}, false, "A=\ta b\t\t"},
        LineCase{"EqualsFixed", {"a=b", "", "p", "", ""}, true, "a b=\tp\t\t",
                 {"site name: \"=\" replaced by a blank"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every format's file with one record whose password has blanks at its
// ends: the archive line holds the password byte for byte.
struct FileCase {
  const char* name;
  std::string text;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.name; }

class ImportedPasswordTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ImportedPasswordTest, IsStoredExactly) {
  const TSiteLines got = SiteLinesOf(ReadSites(GetParam().text), false);
  ASSERT_TRUE(got.refused.empty()) << got.refused[0].message;
  ASSERT_EQ(got.lines.size(), 1u);
  TqelPwRec rec;
  rec.SetLine(got.lines[0]);
  EXPECT_EQ(rec.PW(), " spaced pw ");
  EXPECT_TRUE(got.changes.empty()) << got.changes[0].message;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImportedPasswordTest,
    ::testing::Values(
        FileCase{"vornix", "site,user,password,url,notes\r\nA,u, spaced pw ,,\r\n"},
        FileCase{"keepassxc",
                 "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\n"
                 "\"Root\",\"A\",\"u\",\" spaced pw \",\"\",\"\"\n"},
        FileCase{"bitwarden",
                 "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
                 "login_password,login_totp\n,,login,A,,,0,,u, spaced pw ,\n"},
        FileCase{"chrome", "name,url,username,password\nA,,u, spaced pw \n"},
        FileCase{"firefox", "url,username,password\nhttps://a.example,u,\" spaced pw \"\n"},
        FileCase{"lastpass",
                 "url,username,password,totp,extra,name,grouping,fav\n,u, spaced pw ,,,A,,0\n"},
        FileCase{"protonpass",
                 "type,name,url,email,username,password,note,totp,createTime,modifyTime,vault\n"
                 "login,A,,,u, spaced pw ,,,,,\n"},
        FileCase{"onepassword",
                 "Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes\n"
                 "A,,u, spaced pw ,,,,,\n"},
        FileCase{"dashlane",
                 "username,username2,username3,title,password,note,url,category,otpSecret\n"
                 "u,,,A, spaced pw ,,,,\n"},
        FileCase{"keepass_xml",
                 "<KeePassFile><Root><Group><Name>Root</Name><Entry>"
                 "<String><Key>Title</Key><Value>A</Value></String>"
                 "<String><Key>Password</Key><Value> spaced pw </Value></String>"
                 "</Entry></Group></Root></KeePassFile>"},
        FileCase{"bitwarden_json",
                 R"({"items": [{"type": 1, "name": "A", "login": {"password": " spaced pw "}}]})"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace interchange
