#include "interchange/site_import.h"

#include <gtest/gtest.h>

namespace interchange {
namespace {

struct FormatCase {
  const char* name;
  std::string text;
  TFormat format;
  std::vector<TSiteFields> sites;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class ReadSitesTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ReadSitesTest, RecognisesTheHeaderAndMapsEveryColumn) {
  const TSiteImport got = ReadSites(GetParam().text);
  EXPECT_EQ(got.format, GetParam().format);
  ASSERT_EQ(got.sites.size(), GetParam().sites.size());
  for (std::size_t i = 0; i < got.sites.size(); ++i) {
    const TSiteFields& want = GetParam().sites[i];
    const TSiteFields& have = got.sites[i].fields;
    EXPECT_EQ(have.site, want.site) << i;
    EXPECT_EQ(have.user, want.user) << i;
    EXPECT_EQ(have.password, want.password) << i;
    EXPECT_EQ(have.url, want.url) << i;
    EXPECT_EQ(have.notes, want.notes) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadSitesTest,
    ::testing::Values(
        FormatCase{"vornix",
                   "\xEF\xBB\xBFsite,user,password,url,notes\r\nBank,joe,\"p,\"\"w\",https://"
                   "b,\"a\r\nb\"\r\n",
                   TFormat::Vornix,
                   {{"Bank", "joe", "p,\"w", "https://b", "a\r\nb"}}},
        FormatCase{
            "keepassxc",
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
            "\"Last Modified\",\"Created\"\n"
            "\"Passwords/Banking\",\"Bank\",\"joe\",\"s\",\"https://"
            "bank.example\",\"n\",\"otpauth://x\",\"0\",\"\",\"\"\n"
            "\"Passwords\",\"\",\"ann\",\"t\",\"https://mail.example:443/"
            "in\",\"\",\"\",\"0\",\"\",\"\"\n",
            TFormat::KeePassXc,
            {{"Banking/Bank", "joe", "s", "https://bank.example", "n\nTOTP: otpauth://x"},
             {"mail.example", "ann", "t", "https://mail.example:443/in", ""}}},
        FormatCase{"bitwarden",
                   "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
                   "login_password,login_totp\n"
                   "Work,,login,Wiki,,,0,https://wiki,joe,pw,SECRET\n"
                   ",,note,Memo,text,,0,,,,\n"
                   ",1,login,Shop,\"multi\nline\",,0,https://shop,ann,pw2,\n",
                   TFormat::Bitwarden,
                   {{"Work/Wiki", "joe", "pw", "https://wiki", "TOTP: SECRET"},
                    {"Shop", "ann", "pw2", "https://shop", "multi\nline"}}},
        FormatCase{"chrome",
                   "name,url,username,password,note\r\n"
                   "example.com,https://example.com/login,joe,pw,remember\r\n",
                   TFormat::Chromium,
                   {{"example.com", "joe", "pw", "https://example.com/login", "remember"}}},
        FormatCase{"chrome without notes",
                   "name,url,username,password\n,https://x.example/,a,b\n",
                   TFormat::Chromium,
                   {{"x.example", "a", "b", "https://x.example/", ""}}},
        FormatCase{
            "firefox",
            "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\","
            "\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"\n"
            "\"https://joe@forum.example\",\"joe\",\"=1+2\",,\"\",\"{g}\",\"1\",\"2\",\"3\"\n",
            TFormat::Firefox,
            {{"forum.example", "joe", "=1+2", "https://joe@forum.example", ""}}}));

TEST(ReadSitesErrors, NameTheLineAndWhatIsUnderstood) {
  try {
    ReadSites("a,b,c\n1,2,3\n");
    FAIL() << "an unknown header was taken";
  } catch (const EFormatError& e) {
    EXPECT_EQ(e.Line(), 1);
    EXPECT_NE(std::string(e.what()).find(ImportFormatNames()), std::string::npos);
  }
  try {
    ReadSites("name,url,username,password\nok,https://a,u,p\n,,u,p\n");
    FAIL() << "a record without name or URL was taken";
  } catch (const EFormatError& e) {
    EXPECT_EQ(e.Line(), 3);
  }
  EXPECT_THROW(ReadSites("site,user,password,url,notes\nonly,two\n"), EFormatError);
  // A named format must match the header.
  EXPECT_THROW(ReadSites("site,user,password,url,notes\n", TFormat::Bitwarden), EFormatError);
}

}  // namespace
}  // namespace interchange
