// export and import: the CSV text, the round trip into a new archive, and
// files that are refused.
#include <gtest/gtest.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

constexpr const char* kHeader = "site,user,password,url,notes\r\n";

class CliCsvTest : public CliTest {
 protected:
  // Imports file into archive (password "pw"): refused as it is, then given
  // again with the option that lets it in.
  TProcessResult ImportRefusedThenWith(const std::string& archive, const std::string& file,
                                       const std::string& option) {
    EXPECT_EQ(Cli({"import", archive, "--csv", file}, "pw\n").status, 65);
    return Cli({"import", archive, "--csv", file, option}, "pw\n");
  }
  // keys.zip holding sites whose fields need every kind of CSV quoting.
  std::string MakeAwkwardSites() {
    const std::string archive = MakeArchive();
    AddSite(archive, "pw", {"Comma, Inc", "--user", "say \"hi\"", "--url", "https://x/?a=1,b=2"},
            "p,\"q\"");
    AddSite(archive, "pw",
            {"Notes", "--notes", "first line\nsecond, with \"quotes\"\n\nC:\\Temp\\new\tend"},
            "plain");
    AddSite(archive, "pw", {"Ünïcödé €", "--user", "josé"}, "pässwörd");
    AddSite(archive, "pw", {"Empty"}, "");
    return archive;
  }
};

TEST_F(CliCsvTest, ExportToStandardOutputQuotesAsRfc4180) {
  const std::string archive = MakeAwkwardSites();
  const TProcessResult r = Cli({"export", archive, "--csv", "-"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      std::string(kHeader) +
          "\"Comma, Inc\",\"say \"\"hi\"\"\",\"p,\"\"q\"\"\",\"https://x/?a=1,b=2\",\r\n"
          "Empty,,,,\r\n"
          "Notes,,plain,,\"first line\nsecond, with \"\"quotes\"\"\n\nC:\\Temp\\new\tend\"\r\n"
          "Ünïcödé €,josé,pässwörd,,\r\n");
}

TEST_F(CliCsvTest, ExportThenImportIntoANewArchiveGivesIdenticalLines) {
  const std::string archive = MakeAwkwardSites();
  ASSERT_EQ(Cli({"export", archive, "--csv", "sites.csv"}, "pw\n").status, 0);
  EXPECT_EQ(Mode(Path("sites.csv")), 0600u);
  MakeArchive("copy.zip", "other");
  const TProcessResult r = Cli({"import", "copy.zip", "--csv", "sites.csv"}, "other\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "4 sites imported\n");
  EXPECT_EQ(Dump(Path("copy.zip"), "other"), Dump(archive));
}

TEST_F(CliCsvTest, ExportNeverReplacesAFile) {
  const std::string archive = MakeAwkwardSites();
  WriteFile(Path("sites.csv"), "mine");
  const TProcessResult r = Cli({"export", archive, "--csv", "sites.csv"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: cannot create sites.csv: the file exists already\n");
  EXPECT_EQ(ReadFile(Path("sites.csv")), "mine");
}

TEST_F(CliCsvTest, ImportAcceptsLfLineEndsABomAndAnyHeaderCase) {
  const std::string archive = MakeArchive();
  WriteFile(Path("in.csv"),
            "\xEF\xBB\xBFSite,User,Password,URL,Notes\n"
            "Bank,joe,pw1,https://bank,\"two\r\nlines\"\n"
            "\n"
            "Mail,me,pw2,,\n");
  const TProcessResult r = Cli({"import", archive, "--csv", "in.csv"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Dump(archive), "Bank=joe\tpw1\thttps://bank\ttwo\\nlines\r\nMail=me\tpw2\t\t\r\n");
}

TEST_F(CliCsvTest, ImportCountsSitesAlreadyPresent) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank", "--user", "joe"}, "pw1");
  WriteFile(Path("in.csv"), std::string(kHeader) + "Bank,joe,pw1,,\r\nMail,me,pw2,,\r\n");
  const TProcessResult r = Cli({"import", archive, "--csv", "in.csv"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "1 site imported, 1 already present\n");
  EXPECT_EQ(Dump(archive), "Bank=joe\tpw1\t\t\r\nMail=me\tpw2\t\t\r\n");
}

TEST_F(CliCsvTest, OtherKeepersFilesComeInAndGoOut) {
  const std::string archive = MakeArchive();
  WriteFile(Path("kx.csv"),
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\","
            "\"Last Modified\",\"Created\"\n"
            "\"Passwords/Banking\",\"Bank\",\"joe\",\"a\tb\",\"\",\"\",\"\",\"0\",\"\",\"\"\n");
  const TProcessResult fixed = ImportRefusedThenWith(archive, "kx.csv", "--fix");
  ASSERT_EQ(fixed.status, 0) << fixed.err;
  EXPECT_EQ(fixed.err,
            "vornix-cli: warning: kx.csv, line 2: password: tab or line break replaced by a "
            "blank\n");
  EXPECT_EQ(Dump(archive), "Banking/Bank=joe\ta b\t\t\r\n");

  const TProcessResult out =
      Cli({"export", archive, "--csv", "-", "--format", "bitwarden"}, "pw\n");
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out,
            "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,"
            "login_password,login_totp\r\nBanking,,login,Bank,,,0,,joe,a b,\r\n");
  EXPECT_EQ(Cli({"export", archive, "--csv", "-", "--format", "firefox"}, "pw\n").status, 64);
}

// Files import refuses as a whole: status 65, the archive untouched.
struct BadCsvCase {
  const char* name;
  std::string text;
  const char* message;
};

class CliBadCsvTest : public CliTest, public ::testing::WithParamInterface<BadCsvCase> {};

TEST_P(CliBadCsvTest, IsRefusedAndNothingIsWritten) {
  const std::string archive = MakeArchive();
  const std::string before = ReadFile(archive);
  WriteFile(Path("in.csv"), GetParam().text);
  const TProcessResult r = Cli({"import", archive, "--csv", "in.csv"}, "pw\n");
  EXPECT_EQ(r.status, 65);
  EXPECT_EQ(r.err, std::string("vornix-cli: in.csv, ") + GetParam().message + "\n");
  EXPECT_EQ(ReadFile(archive), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliBadCsvTest,
    ::testing::Values(
        BadCsvCase{"Empty", "", "line 1: the file is empty"},
        BadCsvCase{"OtherHeader", "name,login,password,url,notes\r\n",
                   "line 1: the header names no format understood; formats: vornix, keepassxc, "
                   "bitwarden, chrome, firefox, lastpass, protonpass, 1password, dashlane, "
                   "keepass-xml, bitwarden-json"},
        BadCsvCase{"UnreadColumns", "name,url,username,password,folder\r\n",
                   "line 1: columns no chrome import reads: \"folder\"; --ignore-columns "
                   "imports the file without them"},
        BadCsvCase{"NotUtf8", std::string(kHeader) + "A,\xC3\xA9,c,d,e\r\nB,\xFF,c,d,e\r\n",
                   "line 3: byte 0xFF is not UTF-8 text"},
        BadCsvCase{"PasswordEndsInTab", std::string(kHeader) + "A,b,\"pw\t\",d,e\r\n",
                   "line 2: The password cannot contain a tab character."},
        BadCsvCase{"EncryptedJson", "{\"encrypted\": true, \"items\": []}",
                   "line 1: the export is encrypted; export the vault as unencrypted JSON"},
        BadCsvCase{"TooFewFields", std::string(kHeader) + "A,b,c,d,e\r\nB,b,c\r\n",
                   "line 3: 3 fields where the header has 5"},
        BadCsvCase{"UnclosedQuote", std::string(kHeader) + "A,b,c,d,\"notes\r\nmore\r\n",
                   "line 2: a quoted field is not closed"},
        BadCsvCase{"TextAfterQuote", std::string(kHeader) + "A,\"b\"x,c,d,e\r\n",
                   "line 2: unexpected text after a closing quote"},
        BadCsvCase{"EqualsInSite", std::string(kHeader) + "A,b,c,d,e\r\nx=y,b,c,d,e\r\n",
                   "line 3: The site name cannot contain \"=\"."},
        BadCsvCase{"EmptySite", std::string(kHeader) + " ,b,c,d,e\r\n",
                   "line 2: Site name / Description must be filled"},
        BadCsvCase{"LineBreakInPassword", std::string(kHeader) + "A,b,\"c\nd\",e,\r\n",
                   "line 2: The password cannot contain a line break."},
        BadCsvCase{"NulInNotes", std::string(kHeader) + std::string("A,b,c,d,e\0f\r\n", 13),
                   "line 2: The notes cannot contain a NUL character."}),
    [](const auto& info) { return std::string(info.param.name); });

// What the site line holds is stored exactly; what it cannot hold is
// changed only where the site rules require it, and said so.
TEST_F(CliCsvTest, ImportKeepsPasswordsAndNotesAndReportsTrimmedNames) {
  const std::string archive = MakeArchive();
  WriteFile(Path("kx.csv"),
            "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\"\n"
            "\"Root\",\"Mail \",\"joe\",\" spaced pw \",\"\",\"note\n\",\"\"\n"
            "\"Root\",\"Wiki\",\"ann\",\"in side\",\"\",\"\",\"\"\n");
  const TProcessResult r = Cli({"import", archive, "--csv", "kx.csv"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "vornix-cli: warning: kx.csv, line 2: site name: blanks at the ends removed\n");
  EXPECT_EQ(Dump(archive), "Mail=joe\t spaced pw \t\tnote\\n\r\nWiki=ann\tin side\t\t\r\n");
}

TEST_F(CliCsvTest, ImportLeavesUnreadColumnsOutOnlyWhenAsked) {
  const std::string archive = MakeArchive();
  WriteFile(Path("in.csv"), "name,url,username,password,extra\r\nA,,u,p,x\r\n");
  const TProcessResult r = ImportRefusedThenWith(archive, "in.csv", "--ignore-columns");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "vornix-cli: warning: in.csv: columns left out: \"extra\"\n");
  EXPECT_EQ(Dump(archive), "A=u\tp\t\t\r\n");
}

TEST_F(CliCsvTest, ImportOfAMissingFileFails) {
  const std::string archive = MakeArchive();
  const TProcessResult r = Cli({"import", archive, "--csv", "none.csv"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: cannot read none.csv: No such file or directory\n");
}

}  // namespace
}  // namespace cli_test
