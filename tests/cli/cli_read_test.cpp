// list, show and dump, and how archives are opened: passwords, wrong
// passwords, files that are no archives or cannot be read, damaged entries.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "cli_fixture.h"

namespace cli_test {
namespace {

constexpr const char* kWrongPassword = "vornix-cli: Cannot extract file - invalid password\n";

class CliReadTest : public CliTest {
 protected:
  // keys.zip (password "pw") with three sites added in unsorted order.
  std::string MakeThreeSites() {
    const std::string archive = MakeArchive();
    AddSite(archive, "pw", {"Zeta", "--user", "zed"}, "z1");
    AddSite(archive, "pw", {"alpha", "--user", "al", "--url", "https://a.example"}, "a1");
    AddSite(archive, "pw", {"Beta", "--user", "bee", "--notes", "line one\nC:\\new\\Temp\tx"},
            "b1");
    return archive;
  }
};

TEST_F(CliReadTest, ListGivesTheNamesInSortedOrder) {
  const std::string archive = MakeThreeSites();
  const TProcessResult r = Cli({"list", archive}, "pw\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "alpha\nBeta\nZeta\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliReadTest, DumpGivesTheStoredLinesExactly) {
  const std::string archive = MakeThreeSites();
  EXPECT_EQ(Dump(archive),
            "alpha=al\ta1\thttps://a.example\t\r\n"
            "Beta=bee\tb1\t\tline one\\nC:\\\\new\\\\Temp\\tx\r\n"
            "Zeta=zed\tz1\t\t\r\n");
}

TEST_F(CliReadTest, ShowGivesEveryFieldWithNotesOnRealLines) {
  const std::string archive = MakeThreeSites();
  const TProcessResult r = Cli({"show", archive, "beta"}, "pw\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "Site:     Beta\n"
            "User:     bee\n"
            "Password: b1\n"
            "URL:\n"
            "Notes:    line one\n"
            "          C:\\new\\Temp\tx\n");
}

struct FieldCase {
  const char* field;
  const char* value;
};

class CliShowFieldTest : public CliReadTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(CliShowFieldTest, GivesTheFieldAlone) {
  const std::string archive = MakeThreeSites();
  const TProcessResult r = Cli({"show", archive, "Beta", "--field", GetParam().field}, "pw\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string(GetParam().value) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Fields, CliShowFieldTest,
                         ::testing::Values(FieldCase{"site", "Beta"}, FieldCase{"user", "bee"},
                                           FieldCase{"password", "b1"}, FieldCase{"url", ""},
                                           FieldCase{"notes", "line one\nC:\\new\\Temp\tx"}),
                         [](const auto& info) { return std::string(info.param.field); });

TEST_F(CliReadTest, ShowGivesEverySiteOfThatName) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Mail", "--user", "home"}, "h1");
  AddSite(archive, "pw", {"mail", "--user", "work"}, "w1");
  AddSite(archive, "pw", {"Mailbox", "--user", "other"}, "o1");
  const TProcessResult r = Cli({"show", archive, "MAIL", "--field", "user"}, "pw\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "home\nwork\n");
  const TProcessResult full = Cli({"show", archive, "mail"}, "pw\n");
  EXPECT_NE(full.out.find("Password: h1\nURL:\nNotes:\n\nSite:     mail\n"), std::string::npos)
      << full.out;
}

TEST_F(CliReadTest, ShowOfAMissingSiteFails) {
  const std::string archive = MakeThreeSites();
  const TProcessResult r = Cli({"show", archive, "Gamma"}, "pw\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "vornix-cli: no site is named \"Gamma\"\n");
}

TEST_F(CliReadTest, WrongPasswordGivesStatus2AndTheEnginesMessage) {
  const std::string archive = MakeThreeSites();
  const std::string before = ReadFile(archive);
  for (const char* command : {"list", "dump"}) {
    const TProcessResult r = Cli({command, archive}, "PW\n");
    EXPECT_EQ(r.status, 2) << command;
    // In one archive in 256 the wrong password passes the one-byte check of
    // the encryption header and the data then fails, which is told apart.
    const bool passedCheck = r.err.rfind("vornix-cli: The archive " + archive +
                                             " is damaged or was changed, or the password is wrong\n",
                                         0) == 0;
    EXPECT_TRUE(r.err.rfind(kWrongPassword, 0) == 0 || passedCheck) << command << r.err;
    EXPECT_EQ(r.out, "") << command;
  }
  const TProcessResult add = Cli({"add", archive, "New"}, "wrong\nsitepw\n");
  EXPECT_EQ(add.status, 2);
  EXPECT_EQ(ReadFile(archive), before);
}

TEST_F(CliReadTest, MissingPasswordGivesStatus2) {
  const std::string archive = MakeThreeSites();
  for (const char* input : {"", "\n"}) {
    const TProcessResult r = Cli({"list", archive}, input);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, kWrongPassword);
  }
}

TEST_F(CliReadTest, OnlyTheFirstLineIsThePasswordAndCrLfIsStripped) {
  const std::string archive = MakeThreeSites();
  EXPECT_EQ(Cli({"list", archive}, "pw\r\nignored\n").status, 0);
  EXPECT_EQ(Cli({"list", archive}, "pw").status, 0);           // no line break at all
  EXPECT_EQ(Cli({"list", archive}, "wrong\npw\n").status, 2);  // one try only
  EXPECT_EQ(Cli({"list", archive}, " pw\n").status, 2);        // taken exactly as given
}

TEST_F(CliReadTest, UnencryptedArchiveNeedsNoPassword) {
  const TProcessResult created = Cli({"create", "open.zip", "--no-password"});
  EXPECT_EQ(created.status, 0);
  EXPECT_EQ(created.err,
            "vornix-cli: warning: the password is empty: the archive is saved without "
            "encryption\n");
  AddSite(Path("open.zip"), "", {"Site", "--user", "u"}, "p");
  const TProcessResult r = Cli({"list", "open.zip"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Site\n");
  // Still unencrypted after the change: any ZIP tool reads it without a password.
  if (HaveTool("unzip")) {
    EXPECT_EQ(Shell("unzip -p open.zip Data").out, "Site=u\tp\t\t\r\n");
  }
}

TEST_F(CliReadTest, MissingFileIsStatus1) {
  const TProcessResult r = Cli({"list", "nothing.zip"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: nothing.zip: no such file\n");
}

TEST_F(CliReadTest, FolderIsStatus1) {
  Shell("mkdir folder.zip");
  const TProcessResult r = Cli({"list", "folder.zip"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: folder.zip: not a file\n");
}

struct NotArchiveCase {
  const char* name;
  std::string bytes;
  const char* message;
};

class CliNotArchiveTest : public CliTest, public ::testing::WithParamInterface<NotArchiveCase> {};

TEST_P(CliNotArchiveTest, GivesStatus3AndTheEnginesMessage) {
  WriteFile(Path(GetParam().name), GetParam().bytes);
  const TProcessResult r = Cli({"list", GetParam().name}, "pw\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err, std::string("vornix-cli: ") + GetParam().message + "\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile(Path(GetParam().name)), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliNotArchiveTest,
    ::testing::Values(
        // No end record: the engine does not take it for an archive at all.
        NotArchiveCase{"text.zip", std::string(200, 'x'), "Unhandled Archive Type"},
        // An end record whose one directory entry (46 bytes at offset 0) is
        // not a directory entry.
        NotArchiveCase{"bad.zip",
                       std::string(10, 'x') + std::string("PK\x05\x06\0\0\0\0\x01\0\x01\0"
                                                          "\x2e\0\0\0\0\0\0\0\0\0",
                                                          22),
                       "Invalid file - not a PKZip file"},
        NotArchiveCase{"keys.dat", "PK\x05\x06" + std::string(18, '\0'), "Unhandled Archive Type"}),
    [](const auto& info) { return std::to_string(info.index); });

// An empty file is no archive. Taken for an empty one, a script's first
// line, meant as the archive password, would be stored as a site password
// in clear text.
TEST_F(CliReadTest, EmptyFileIsRefusedByEveryCommandButCreate) {
  WriteFile(Path("empty.zip"), "");
  WriteFile(Path("sites.csv"), "site,user,password,url,notes\nS,,p,,\n");
  std::vector<std::vector<std::string>> commands = {{"list", "empty.zip"},
                                                    {"show", "empty.zip", "S"},
                                                    {"dump", "empty.zip"},
                                                    {"info", "empty.zip"},
                                                    {"export", "empty.zip", "--csv", "-"}};
  for (std::vector<std::string>& changing : ChangingCommands("empty.zip"))
    commands.push_back(std::move(changing));
  ExpectEachRefused(commands,
                    "vornix-cli: empty.zip is empty, not an archive; use create to make one\n");
  EXPECT_EQ(ReadFile(Path("empty.zip")), "");
}

TEST_F(CliReadTest, UnreadableFileIsStatus1WithTheSystemsReason) {
  const std::string archive = MakeArchive();
  ASSERT_EQ(chmod(archive.c_str(), 0), 0);
  std::string cli = VORNIX_CLI_PATH;
  if (geteuid() == 0) {
    // Root reads any file; without these capabilities the file mode holds
    // for it as for anyone.
    if (!HaveTool("setpriv")) GTEST_SKIP() << "running as root, and setpriv is not installed";
    cli =
        "setpriv --inh-caps=-dac_override,-dac_read_search "
        "--bounding-set=-dac_override,-dac_read_search " +
        cli;
  }
  const TProcessResult r = Shell("printf 'pw\\n' | " + cli + " list keys.zip");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "vornix-cli: cannot read keys.zip: Permission denied\n");
}

// Directory entries that no real site list has, refused before anything is
// inflated and before a password is asked for (no input is given).
struct DamagedEntryCase {
  const char* name;
  std::size_t field;  // offset of a 32-bit field in the central directory entry
  std::uint32_t value;
  const char* message;
};

constexpr std::size_t kCompressedSizeField = 20;
constexpr std::size_t kUncompressedSizeField = 24;

class CliDamagedEntryTest : public CliTest,
                            public ::testing::WithParamInterface<DamagedEntryCase> {};

TEST_P(CliDamagedEntryTest, IsRefusedWithStatus3) {
  const std::string archive = MakeArchive();
  AddSite(archive, "pw", {"Bank"}, "p");
  std::string bytes = ReadFile(archive);
  const std::size_t entry = bytes.find("PK\x01\x02");
  ASSERT_NE(entry, std::string::npos);
  for (int i = 0; i < 4; ++i) {
    bytes[entry + GetParam().field + i] = static_cast<char>(GetParam().value >> (8 * i));
  }
  WriteFile(archive, bytes);
  for (const char* command : {"show", "add"}) {
    const TProcessResult r = Cli({command, "keys.zip", "New"});
    EXPECT_EQ(r.status, 3) << command;
    EXPECT_EQ(r.err, std::string("vornix-cli: ") + GetParam().message + "\n") << command;
    EXPECT_EQ(r.out, "") << command;
  }
  EXPECT_EQ(ReadFile(archive), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, CliDamagedEntryTest,
    ::testing::Values(
        DamagedEntryCase{"Bomb", kUncompressedSizeField, (256u << 20) + 1,
                         "The site list is too large (268435457 bytes)"},
        DamagedEntryCase{"ShorterThanItsEncryptionHeader", kCompressedSizeField, 11,
                         "Cannot extract file - the data is damaged (the member Data is "
                         "shorter than its encryption header)"},
        DamagedEntryCase{"RunsPastTheEndOfTheFile", kCompressedSizeField, 100000,
                         "Cannot extract file - the data is damaged (the member Data runs "
                         "past the end of keys.zip)"}),
    [](const auto& info) { return std::string(info.param.name); });

// The password passes the cipher's check byte and the data then fails: the
// first line says the archive may be damaged, with the wrong password's exit
// status, and a person at a terminal may still type the password again.
TEST_F(CliReadTest, DamagedEncryptedMemberSaysDamagedFirstWithTheWrongPasswordStatus) {
  const std::string archive = MakeThreeSites();
  std::string bytes = ReadFile(archive);
  bytes[60] =
      static_cast<char>(bytes[60] ^ 0x55);  // past the 34-byte header and the 12 of the cipher
  WriteFile(archive, bytes);
  const TProcessResult r = Cli({"list", archive}, "pw\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.rfind("vornix-cli: The archive " + archive +
                            " is damaged or was changed, or the password is wrong\n"
                            "vornix-cli: the password passed the archive's first check but the "
                            "data did not (",
                        0),
            0u)
      << r.err;
  EXPECT_EQ(r.out, "");
}

TEST_F(CliReadTest, DamagedMemberIsStatus3) {
  const std::string archive = MakeArchive("plain.zip", "");
  AddSite(archive, "", {"Site", "--user", "someone@example.com", "--notes", std::string(300, 'n')},
          "p");
  std::string bytes = ReadFile(archive);
  bytes[45] = static_cast<char>(bytes[45] ^ 0x55);  // inside the member's data
  WriteFile(archive, bytes);
  const TProcessResult r = Cli({"dump", archive});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err.rfind("vornix-cli: ", 0), 0u);
  EXPECT_EQ(r.out, "");
}

}  // namespace
}  // namespace cli_test
