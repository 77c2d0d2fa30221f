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
                    {"Memo", "", "", "", "text"},
                    {"Shop", "ann", "pw2", "https://shop", "multi\nline"}}},
        FormatCase{"bitwarden organisation, custom fields",
                   "collections,type,name,notes,fields,reprompt,login_uri,login_username,"
                   "login_password,login_totp\n"
                   "Team,login,Wiki,n,\"PIN: 1234\nkey: v\",0,https://wiki,joe, pw ,\n",
                   TFormat::Bitwarden,
                   {{"Wiki", "joe", " pw ", "https://wiki", "n\nPIN: 1234\nkey: v\nCollections: Team"}}},
        FormatCase{"lastpass",
                   "url,username,password,totp,extra,name,grouping,fav\n"
                   "https://a.example,joe,pw,SEED,\"note\n\",Mail,Work\\Sub,0\n"
                   "http://sn,,,,secret text,Memo,,1\n",
                   TFormat::LastPass,
                   {{"Work/Sub/Mail", "joe", "pw", "https://a.example", "note\nTOTP: SEED"},
                    {"Memo", "", "", "", "secret text"}}},
        FormatCase{"protonpass",
                   "type,name,url,email,username,password,note,totp,createTime,modifyTime,vault\n"
                   "login,Shop,https://shop,me@x.example,,pw,n,otpauth://t,1,2,Personal\n"
                   "login,Wiki,https://wiki,me@x.example,joe,pw2,,,1,2,\n",
                   TFormat::ProtonPass,
                   {{"Personal/Shop", "me@x.example", "pw", "https://shop", "n\nTOTP: otpauth://t"},
                    {"Wiki", "joe", "pw2", "https://wiki", "E-mail: me@x.example"}}},
        FormatCase{"1password",
                   "Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes\n"
                   "Bank,https://b,joe,pw,otpauth://b,false,false,money,PIN\n",
                   TFormat::OnePassword,
                   {{"Bank", "joe", "pw", "https://b", "PIN\nTags: money\nTOTP: otpauth://b"}}},
        FormatCase{"dashlane",
                   "username,username2,username3,title,password,note,url,category,otpSecret\n"
                   "joe,alt,,Bank,pw,n,https://b,Finance,SEED\n",
                   TFormat::Dashlane,
                   {{"Finance/Bank", "joe", "pw", "https://b", "n\nUser name: alt\nTOTP: SEED"}}},
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
  EXPECT_THROW(ReadSites("site,user,password,url,notes\n", {.format = TFormat::Bitwarden}),
               EFormatError);
}

// A header with columns its closest format does not write is refused by
// name; --ignore-columns imports the rest and says what was left out.
TEST(ReadSitesColumns, UnreadColumnsStopTheImportUnlessIgnored) {
  const std::string text = "name,url,username,password,extra\nA,https://a,u,p,lost\n";
  try {
    ReadSites(text);
    FAIL() << "a column no format reads was dropped";
  } catch (const EFormatError& e) {
    EXPECT_EQ(std::string(e.what()),
              "columns no chrome import reads: \"extra\"; --ignore-columns imports the file "
              "without them");
  }
  const TSiteImport got = ReadSites(text, {.ignoreColumns = true});
  EXPECT_EQ(got.format, TFormat::Chromium);
  EXPECT_EQ(got.notices, std::vector<std::string>{"columns left out: \"extra\""});
  EXPECT_EQ(got.sites.at(0).fields.site, "A");
}

TEST(ReadSitesText, InvalidUtf8IsRefusedAndWindows1252IsSaidSo) {
  try {
    ReadSites("site,user,password,url,notes\nA,\xC3\xA9,p,,\nB,\xED\xA0\x80,p,,\n");
    FAIL() << "a surrogate was stored";
  } catch (const EFormatError& e) {
    EXPECT_EQ(e.Line(), 3);
  }
  const TSiteImport got = ReadSites("site,user,password,url,notes\nCaf\xE9,u,\x80,,\n");
  EXPECT_EQ(got.sites.at(0).fields.site, "Caf\xC3\xA9");
  EXPECT_EQ(got.sites.at(0).fields.password, "\xE2\x82\xAC");
  EXPECT_EQ(got.notices.size(), 1u);
  // XML and JSON are UTF-8 by definition: no second guess.
  EXPECT_THROW(ReadSites("{\"items\": [{\"name\": \"Caf\xE9\"}]}"), EFormatError);
}

}  // namespace
}  // namespace interchange

namespace interchange {
namespace {

// Sites handed on one at a time: in the file's order with their lines, each
// before a later record's fault stops the reading, and none kept in the result.
TEST(ReadSitesOneByOne, HandsEverySiteOnAsItIsRead) {
  std::vector<std::pair<std::string, int>> seen;
  const auto take = [&seen](TImportedSite&& site) { seen.emplace_back(site.fields.site, site.line); };
  const TSiteImport got = ReadSites("site,user,password,url,notes\nB,u,p,,\n\nA,u,p,,\n", {}, take);
  EXPECT_TRUE(got.sites.empty());
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"B", 2}, {"A", 4}}));
  seen.clear();
  EXPECT_THROW(ReadSites("site,user,password,url,notes\nC,u,p,,\nonly,two\n", {}, take),
               EFormatError);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int>>{{"C", 2}}));
  ReadSites(R"({"encrypted": false, "items": [{"type": 1, "name": "J", "login": {}}]})", {},
            take);
  EXPECT_EQ(seen.back().first, "J");
}

}  // namespace
}  // namespace interchange
