// add, edit, rm, passwd and create: what they save, what they refuse, and
// that a refused or failed command leaves the file byte for byte as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "cli_fixture.h"

namespace cli_test {
namespace {

class CliChangeTest : public CliTest {
 protected:
  // Renames "Data" to "Date" in place: the archive then has a member but no
  // site list. Returns the new bytes.
  static std::string RenameSiteList(const std::string& archive) {
    std::string bytes = ReadFile(archive);
    for (std::size_t at = bytes.find("Data"); at != std::string::npos;
         at = bytes.find("Data", at)) {
      bytes[at + 3] = 'e';
    }
    WriteFile(archive, bytes);
    return bytes;
  }
};

TEST_F(CliChangeTest, CreateMakesAnEmptyOwnerOnlyArchive) {
  const std::string archive = MakeArchive();
  EXPECT_EQ(Mode(archive), 0600u);
  EXPECT_EQ(Dump(archive), "");
  // Encrypted: once it holds data, another password does not open it. (An
  // empty member has nothing a wrong password could fail on beyond the one
  // check byte of its encryption header.)
  AddSite(archive, "pw", {"Bank"}, "p");
  EXPECT_EQ(Cli({"list", "keys.zip"}, "other\n").status, 2);
}

TEST_F(CliChangeTest, CreateRefusesAnExistingFile) {
  WriteFile(Path("keys.zip"), "precious");
  const TProcessResult r = Cli({"create", "keys.zip"}, "pw\npw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: keys.zip exists already\n");
  EXPECT_EQ(ReadFile(Path("keys.zip")), "precious");
}

TEST_F(CliChangeTest, CreateTakesAnEmptyFile) {
  WriteFile(Path("keys.zip"), "");
  const TProcessResult r = Cli({"create", "keys.zip"}, "pw\npw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  AddSite(Path("keys.zip"), "pw", {"Bank"}, "p");
  EXPECT_EQ(Dump(Path("keys.zip")), "Bank=\tp\t\t\r\n");
}

TEST_F(CliChangeTest, CreateRefusesANameTheEngineCannotOpen) {
  const TProcessResult r = Cli({"create", "keys.txt"}, "pw\npw\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "vornix-cli: Unhandled Archive Type (an archive's file name must end in \".zip\")\n");
  EXPECT_EQ(Mode(Path("keys.txt")), 0u);
}

TEST_F(CliChangeTest, CreateRefusesDifferingPasswords) {
  const TProcessResult r = Cli({"create", "keys.zip"}, "pw\npW\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: New password and confirmation must be the same\n");
  EXPECT_EQ(Mode(Path("keys.zip")), 0u);
  EXPECT_EQ(Cli({"create", "keys.zip"}, "pw\n").status, 1);  // input ends early
}

TEST_F(CliChangeTest, AddKeepsPermissionsOfTheFile) {
  const std::string archive = MakeArchive();
  ASSERT_EQ(chmod(archive.c_str(), 0640), 0);
  AddSite(archive, "pw", {"Bank"}, "pw1");
  EXPECT_EQ(Mode(archive), 0640u);
  EXPECT_EQ(Dump(archive), "Bank=\tpw1\t\t\r\n");
}

TEST_F(CliChangeTest, AddTrimsFieldsLikeTheSiteEditorButKeepsThePassword) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"  Bank ", "--user", " joe ", "--notes", " a\r\nb \n\n"}, " pw1 ");
  EXPECT_EQ(Dump(archive), "Bank=joe\t pw1 \t\ta\\nb\r\n");
  EXPECT_EQ(Cli({"show", archive, "Bank", "--field", "password"}, "pw\n").out, " pw1 \n");
  ASSERT_EQ(Cli({"edit", archive, "Bank", "--ask-password"}, "pw\n\t x \n").status, 65);
  ASSERT_EQ(Cli({"edit", archive, "Bank", "--ask-password"}, "pw\n  x  \n").status, 0);
  EXPECT_EQ(Dump(archive), "Bank=joe\t  x  \t\ta\\nb\r\n");
}

TEST_F(CliChangeTest, AddOfAnIdenticalSiteChangesNothing) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank", "--user", "joe"}, "pw1");
  const std::string before = ReadFile(archive);
  const TProcessResult r = Cli({"add", archive, "Bank", "--user", "joe"}, "pw\npw1\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "vornix-cli: warning: the archive holds this site already; nothing changed\n");
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_F(CliChangeTest, AddWithoutTheSitePasswordFails) {
  const std::string archive = MakeArchive();
  const std::string before = ReadFile(archive);
  const TProcessResult r = Cli({"add", archive, "Bank"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: no password given for the site: standard input ended\n");
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_F(CliChangeTest, AddGeneratesThePasswordWhenAsked) {
  const std::string archive = MakeArchive();
  const TProcessResult r =
      Cli({"add", archive, "Bank", "--generate", "--digits", "--length", "20"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string pw = Cli({"show", archive, "Bank", "--field", "password"}, "pw\n").out;
  ASSERT_EQ(pw.size(), 21u) << pw;
  EXPECT_EQ(pw.find_first_not_of("0123456789"), 20u);
}

// Input the archive cannot hold: refused with status 65, nothing written.
struct RefusedCase {
  const char* name;
  std::vector<std::string> args;  // after "add ARCHIVE"
  std::string sitePassword;
  const char* message;
};

class CliRefusedFieldTest : public CliTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(CliRefusedFieldTest, AddRefusesAndWritesNothing) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Existing"}, "e");
  const std::string before = ReadFile(archive);
  std::vector<std::string> args{"add", archive};
  args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
  const TProcessResult r = Cli(args, "pw\n" + GetParam().sitePassword + "\n");
  EXPECT_EQ(r.status, 65);
  EXPECT_EQ(r.err, std::string("vornix-cli: ") + GetParam().message + "\n");
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_P(CliRefusedFieldTest, EditRefusesAndWritesNothing) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Existing"}, "e");
  const std::string before = ReadFile(archive);
  std::vector<std::string> args{"edit", archive, "Existing", "--ask-password"};
  const std::vector<std::string>& given = GetParam().args;
  args.insert(args.end(), "--rename");
  args.insert(args.end(), given.begin(), given.end());
  const TProcessResult r = Cli(args, "pw\n" + GetParam().sitePassword + "\n");
  EXPECT_EQ(r.status, 65);
  EXPECT_EQ(r.err, std::string("vornix-cli: ") + GetParam().message + "\n");
  EXPECT_EQ(ReadFile(archive), before);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, CliRefusedFieldTest,
    ::testing::Values(
        RefusedCase{"EqualsInSite", {"a=b"}, "p", "The site name cannot contain \"=\"."},
        RefusedCase{"EmptySite", {"  "}, "p", "Site name / Description must be filled"},
        RefusedCase{"TabInSite", {"a\tb"}, "p", "The site name cannot contain a tab character."},
        RefusedCase{"LineBreakInSite", {"a\nb"}, "p", "The site name cannot contain a line break."},
        RefusedCase{"TabInUser",
                    {"S", "--user", "j\toe"},
                    "p",
                    "The user name cannot contain a tab character."},
        RefusedCase{"CrInUser",
                    {"S", "--user", "j\roe"},
                    "p",
                    "The user name cannot contain a line break."},
        RefusedCase{"LineBreakInUrl",
                    {"S", "--url", "http://a\nb"},
                    "p",
                    "The URL cannot contain a line break."},
        RefusedCase{"TabInPassword", {"S"}, "p\tq", "The password cannot contain a tab character."},
        RefusedCase{"CrInPassword", {"S"}, "p\rq", "The password cannot contain a line break."},
        RefusedCase{
            "TabAtPasswordEnd", {"S"}, "p\t", "The password cannot contain a tab character."},
        // The first CR goes with the LF as the line's end; the password keeps the other.
        RefusedCase{"CrAtPasswordEnd", {"S"}, "p\r\r", "The password cannot contain a line break."},
        RefusedCase{"NulInPassword",
                    {"S"},
                    std::string("p\0q", 3),
                    "The password cannot contain a NUL character."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliChangeTest, EditChangesOnlyTheGivenFields) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank", "--user", "joe", "--url", "https://bank", "--notes", "x\\y"},
          "old");
  const TProcessResult r = Cli({"edit", archive, "bank", "--user", "jane"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Dump(archive), "Bank=jane\told\thttps://bank\tx\\\\y\r\n");
  const TProcessResult renamed =
      Cli({"edit", archive, "Bank", "--rename", "Savings", "--ask-password"}, "pw\nnew\n");
  ASSERT_EQ(renamed.status, 0) << renamed.err;
  EXPECT_EQ(Dump(archive), "Savings=jane\tnew\thttps://bank\tx\\\\y\r\n");
}

TEST_F(CliChangeTest, EditOfOneOfSeveralNeedsWhich) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Mail", "--user", "home"}, "h");
  AddSite(archive, "pw", {"Mail", "--user", "work"}, "w");
  const std::string before = ReadFile(archive);
  const TProcessResult r = Cli({"edit", archive, "mail", "--url", "u"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "vornix-cli: 2 sites are named \"mail\"; choose one with --which N:\n"
            "  1: Mail (user name \"home\", URL \"\")\n"
            "  2: Mail (user name \"work\", URL \"\")\n");
  EXPECT_EQ(ReadFile(archive), before);
  EXPECT_EQ(Cli({"edit", archive, "mail", "--url", "u", "--which", "3"}, "pw\n").status, 1);
  ASSERT_EQ(Cli({"edit", archive, "mail", "--url", "u", "--which", "2"}, "pw\n").status, 0);
  EXPECT_EQ(Dump(archive), "Mail=home\th\t\t\r\nMail=work\tw\tu\t\r\n");
}

TEST_F(CliChangeTest, RmRemovesOneSite) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"A"}, "1");
  AddSite(archive, "pw", {"B"}, "2");
  const TProcessResult r = Cli({"rm", archive, "a"}, "pw\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Dump(archive), "B=\t2\t\t\r\n");
  const std::string before = ReadFile(archive);
  const TProcessResult missing = Cli({"rm", archive, "A"}, "pw\n");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "vornix-cli: no site is named \"A\"\n");
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_F(CliChangeTest, RmOfASiteNameStartingWithADash) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"--", "-dash"}, "1");
  EXPECT_EQ(Cli({"list", archive}, "pw\n").out, "-dash\n");
  ASSERT_EQ(Cli({"rm", archive, "--", "-dash"}, "pw\n").status, 0);
  EXPECT_EQ(Dump(archive), "");
}

TEST_F(CliChangeTest, PasswdChangesThePasswordAndKeepsTheData) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank", "--user", "joe"}, "pw1");
  const std::string data = Dump(archive);
  const TProcessResult r = Cli({"passwd", archive}, "pw\nnew secret\nnew secret\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Cli({"list", archive}, "pw\n").status, 2);
  EXPECT_EQ(Dump(archive, "new secret"), data);
}

TEST_F(CliChangeTest, PasswdRefusesDifferingPasswords) {
  const std::string archive = MakeArchive();
  const std::string before = ReadFile(archive);
  const TProcessResult r = Cli({"passwd", archive}, "pw\nnew\nnwe\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: New password and confirmation must be the same\n");
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_F(CliChangeTest, BackupsAreKeptAsAskedAndRemovedByAPasswordChange) {
  MakeArchive();  // nothing to back up yet
  ASSERT_EQ(Cli({"add", "keys.zip", "A", "--backups", "0"}, "pw\n1\n").status, 0);
  EXPECT_EQ(Shell("ls -A").out, "keys.zip\n");
  AddSite(Path("keys.zip"), "pw", {"B"}, "2");
  AddSite(Path("keys.zip"), "pw", {"C"}, "3");
  EXPECT_EQ(Shell("ls -A | wc -l").out, "2\n");  // one backup by default
  const TProcessResult r = Cli({"passwd", "keys.zip"}, "pw\nnew\nnew\n");
  ASSERT_EQ(r.status, 0) << r.err;
  // A backup would keep the old password alive.
  EXPECT_EQ(Shell("ls -A").out, "keys.zip\n");
}

TEST_F(CliChangeTest, BackupCountComesFromTheWindowsOptionsUnlessGiven) {
  std::filesystem::create_directories(std::filesystem::path(SettingsPath()).parent_path());
  WriteFile(SettingsPath(), "[General]\nOptions.Backups=3\n");
  MakeArchive();
  for (const char* site : {"A", "B", "C", "D", "E"}) AddSite(Path("keys.zip"), "pw", {site}, "1");
  EXPECT_EQ(Shell("ls -A | wc -l").out, "4\n");  // the archive and three backups
  // Given, the option wins; a count the Options dialog never writes falls
  // back to one.
  WriteFile(SettingsPath(), "[General]\nOptions.Backups=many\n");
  for (const char* name : {"given.zip", "fallback.zip"}) {
    MakeArchive(name);
    for (const char* site : {"A", "B", "C"}) {
      std::vector<std::string> args{"add", name, site};
      if (std::string(name) == "given.zip") args.insert(args.end(), {"--backups", "2"});
      ASSERT_EQ(Cli(args, "pw\n1\n").status, 0);
    }
  }
  EXPECT_EQ(Shell("ls -A | grep -c given").out, "3\n");
  EXPECT_EQ(Shell("ls -A | grep -c fallback").out, "2\n");
}

TEST_F(CliChangeTest, ArchiveWithoutSiteListIsChangedOnlyWithForce) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank"}, "p");
  const std::string before = RenameSiteList(archive);
  WriteFile(Path("sites.csv"), "site,user,password,url,notes\nMail,,m,,\n");
  ExpectEachRefused(ChangingCommands("keys.zip"),
                    "vornix-cli: keys.zip holds no site list (no member Data); --force adds one\n");
  EXPECT_EQ(ReadFile(archive), before);
  const TProcessResult list = Cli({"list", "keys.zip"});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "");
  EXPECT_EQ(list.err, "vornix-cli: warning: keys.zip holds no site list (no member Data)\n");

  // The new site list's password comes first, twice, then the site's.
  const TProcessResult forced = Cli({"add", "keys.zip", "Mail", "--force"}, "new\nnew\nm1\n");
  ASSERT_EQ(forced.status, 0) << forced.err;
  EXPECT_EQ(Dump(archive, "new"), "Mail=\tm1\t\t\r\n");
  EXPECT_EQ(Cli({"info", "keys.zip"}, "new\n").out,
            "Encryption: traditional\nSites: 1\nMembers: 2\n  Date\n  Data\n");
}

TEST_F(CliChangeTest, SaveThroughASymbolicLinkUpdatesItsTarget) {
  MakeArchive("real.zip");
  ASSERT_EQ(Shell("ln -s real.zip link.zip").status, 0);
  AddSite(Path("link.zip"), "pw", {"Bank"}, "p");
  EXPECT_EQ(Shell("test -L link.zip").status, 0);
  EXPECT_EQ(Dump(Path("real.zip")), "Bank=\tp\t\t\r\n");
}

TEST_F(CliChangeTest, FailedSaveKeepsTheOldFile) {
  const std::string archive = MakeArchive();
  const std::string before = ReadFile(archive);
  // A file size limit of 0 makes every write of the new archive fail, even
  // for root; the ignored SIGXFSZ turns it into an error the save reports.
  const TProcessResult r = Shell("printf 'pw\\np\\n' | (trap '' XFSZ; ulimit -f 0; exec " +
                                 std::string(VORNIX_CLI_PATH) + " add keys.zip Bank)");
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err.rfind("vornix-cli: ", 0), 0u);
  EXPECT_EQ(ReadFile(archive), before);
  EXPECT_EQ(Shell("ls -A").out, "keys.zip\n");  // no temporary file left behind
}

}  // namespace
}  // namespace cli_test
