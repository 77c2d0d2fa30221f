#include "interchange/site_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "interchange/site_import.h"

namespace interchange {
namespace {

namespace fs = std::filesystem;

// Notes with line breaks, quotes, markup and non-ASCII text; names with a
// slash, a password that looks like a spreadsheet formula and one with
// blanks at its ends.
const std::vector<TSiteFields> kSites = {
    {"Banking/Bank", "joe", "=SUM(A1)", "https://bank.example", "PIN 1234\nspare key"},
    {"Mail", "jo\xC3\xABl", "p\"w<&>", "", "caf\xC3\xA9 \"quoted\", <tag>"},
    {"Shop", "ann", "  spaced pw ", "", "ends in a line break\n"},
};

// In any order: another keeper lists a group's entries before its subgroups.
void ExpectSameSites(TSiteImport got) {
  std::sort(got.sites.begin(), got.sites.end(),
            [](const TImportedSite& a, const TImportedSite& b) { return a.fields.site < b.fields.site; });
  ASSERT_EQ(got.sites.size(), kSites.size());
  for (std::size_t i = 0; i < kSites.size(); ++i) {
    EXPECT_EQ(got.sites[i].fields.site, kSites[i].site);
    EXPECT_EQ(got.sites[i].fields.user, kSites[i].user);
    EXPECT_EQ(got.sites[i].fields.password, kSites[i].password);
    EXPECT_EQ(got.sites[i].fields.url, kSites[i].url);
    EXPECT_EQ(got.sites[i].fields.notes, kSites[i].notes);
  }
}

TEST(WriteSites, WrittenFormatsReadBackUnchanged) {
  for (TFormat format : {TFormat::Vornix, TFormat::Bitwarden, TFormat::KeePassXml}) {
    SCOPED_TRACE(std::string(FormatName(format)));
    const TSiteImport got = ReadSites(WriteSites(kSites, format));
    EXPECT_EQ(got.format, format);
    ExpectSameSites(got);
  }
  EXPECT_THROW(WriteSites(kSites, TFormat::Firefox), EFormatError);
}

// A name's prefix is the folder or group, the notes' TOTP line the format's
// own TOTP field.
TEST(WriteSites, PrefixesAndTotpGoToTheirOwnFields) {
  const std::vector<TSiteFields> sites = {{"Work/Mail/Inbox", "joe", "pw", "", "n\nTOTP: SEED"},
                                          {"Work/Wiki", "", "", "", ""}};
  EXPECT_EQ(WriteSites(sites, TFormat::Bitwarden),
            "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
            "login_password,login_totp\r\n"
            "Work/Mail,,login,Inbox,n,,0,,joe,pw,SEED\r\n"
            "Work,,login,Wiki,,,0,,,,\r\n");
  const std::string xml = WriteSites(sites, TFormat::KeePassXml);
  // One group Work holding Wiki and the group Mail, which holds Inbox.
  const auto work = xml.find("<Name>Work</Name>"), mail = xml.find("<Name>Mail</Name>");
  ASSERT_NE(work, std::string::npos);
  EXPECT_EQ(xml.find("<Name>Work</Name>", work + 1), std::string::npos);
  EXPECT_LT(mail, xml.find("<Value>Inbox</Value>"));
  EXPECT_NE(xml.find("otpauth://totp/Inbox?secret=SEED"), std::string::npos);
  const TSiteImport back = ReadSites(xml);
  ASSERT_EQ(back.sites.size(), 2u);
  EXPECT_EQ(back.sites[0].fields.site, "Work/Wiki");
  EXPECT_EQ(back.sites[1].fields.site, "Work/Mail/Inbox");
  EXPECT_EQ(back.sites[1].fields.notes, "n\nTOTP: otpauth://totp/Inbox?secret=SEED");
}

std::string RunWithInput(const std::string& command, const std::string& input) {
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "w");
  if (!pipe) return {};
  std::fwrite(input.data(), 1, input.size(), pipe);
  return ::pclose(pipe) == 0 ? "ok" : "";
}

// Our XML becomes a database of the other keeper, whose CSV export reads
// back as the same sites.
TEST(WriteSites, KeePassXmlSurvivesARoundTripThroughTheOtherKeeper) {
  if (std::system("command -v keepassxc-cli >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "keepassxc-cli is not installed";
  }
  const fs::path dir = fs::temp_directory_path() / ("vornix-kx-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path xml = dir / "in.xml", db = dir / "out.kdbx", csv = dir / "out.csv";
  std::ofstream(xml) << WriteSites(kSites, TFormat::KeePassXml);
  ASSERT_EQ(RunWithInput("keepassxc-cli import -p '" + xml.string() + "' '" + db.string() + "'",
                         "test\ntest\n"),
            "ok");
  ASSERT_EQ(RunWithInput(
                "keepassxc-cli export --format csv '" + db.string() + "' > '" + csv.string() + "'",
                "test\n"),
            "ok");
  std::ifstream in(csv, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove_all(dir);
  const TSiteImport got = ReadSites(text);
  EXPECT_EQ(got.format, TFormat::KeePassXc);
  ExpectSameSites(got);
}

}  // namespace
}  // namespace interchange
