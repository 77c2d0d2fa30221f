// The change records a save writes beside the site list, and where it
// writes none.

#include "archive/storage/vault_save.h"

#include <gtest/gtest.h>

#include "archive/zip/change_records_member.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

const std::string kSites = "Bank=ann\tb\t\t\r\nMail=ann\tm\t\t\r\n";

std::vector<std::string> Members(const std::string& path) {
  TZipReader reader;
  reader.SetFileName(path);
  return reader.MemberNames();
}

TSaveOptions Options(TEncryption encryption, const std::string& password) {
  TSaveOptions options;
  options.password = password;
  options.encryption = encryption;
  options.backups = 0;
  return options;
}

TEST(VaultSave, AesArchiveCarriesRecordsOfItsSiteList) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  const TChangeRecords records = RecordSaveNow(std::nullopt, "", kSites);
  SaveVault(path, kSites, records, Options(TEncryption::Aes256, "pw"));
  EXPECT_EQ(Members(path), (std::vector<std::string>{"Data", kChangeRecordsMember}));
  EXPECT_EQ(ReadDataMember(path, "pw"), kSites);
  // The records open with the site list's password only, and describe it.
  EXPECT_EQ(ReadNamedMember(path, kChangeRecordsMember, "other"), "");
  const auto read = ChangeRecordsFor(ReadNamedMember(path, kChangeRecordsMember, "pw"), kSites);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->lines.size(), 2u);
  // A save that knows nothing of records leaves them behind, describing a
  // site list that is no longer there.
  SaveDataArchive(path, "Bank=ann\tb\t\t\r\n", Options(TEncryption::Aes256, "pw"));
  EXPECT_EQ(Members(path), (std::vector<std::string>{"Data", kChangeRecordsMember}));
  EXPECT_FALSE(ChangeRecordsFor(ReadNamedMember(path, kChangeRecordsMember, "pw"),
                                ReadDataMember(path, "pw")));
}

TEST(VaultSave, OnlyAesArchivesCarryRecords) {
  struct TCase {
    TEncryption encryption;
    const char* password;
  };
  for (const TCase& c : {TCase{TEncryption::Traditional, "pw"}, TCase{TEncryption::Aes256, ""}}) {
    TScratchDir dir;
    const std::string path = dir.File("keys.zip");
    const TChangeRecords records = RecordSaveNow(std::nullopt, "", kSites);
    SaveVault(path, kSites, records, Options(TEncryption::Aes256, "pw"));
    // Turning to the traditional cipher (or to none) drops the old records too.
    SaveVault(path, kSites, records, Options(c.encryption, c.password));
    EXPECT_EQ(Members(path), std::vector<std::string>{"Data"}) << c.password;
    EXPECT_EQ(ReadDataMember(path, c.password), kSites);
  }
}

TEST(VaultSave, NamedMembersReplaceTheirOldPlaceAndOthersStay) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  SaveArchiveMembers(path, {{"notes.txt", "mine"}, {"Data", "a=1\r\n"}}, {},
                     Options(TEncryption::None, ""));
  SaveArchiveMembers(path, {{"Data", "b=2\r\n"}, {"extra", "x"}}, {"none-such"},
                     Options(TEncryption::None, ""));
  EXPECT_EQ(Members(path), (std::vector<std::string>{"notes.txt", "Data", "extra"}));
  EXPECT_EQ(ReadDataMember(path, ""), "b=2\r\n");
  SaveArchiveMembers(path, {{"Data", "c=3\r\n"}}, {"NOTES.TXT"}, Options(TEncryption::None, ""));
  EXPECT_EQ(Members(path), (std::vector<std::string>{"Data", "extra"}));
}

}  // namespace
