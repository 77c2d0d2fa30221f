// KeePass 2 XML as keepassxc-cli exports it and Bitwarden's JSON: groups
// and folders become name prefixes, every other field lands in the notes.
#include <gtest/gtest.h>

#include <fstream>

#include "interchange/site_import.h"

namespace interchange {
namespace {

std::string ReadData(const char* name) {
  std::ifstream in(std::string(VORNIX_INTERCHANGE_DATA) + "/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A database with an entry at the root, one two groups down (edited once:
// its history holds the old version) and one in the recycle bin.
TEST(ReadKeePassXml, TakesEntriesOutsideHistoryAndRecycleBin) {
  const TSiteImport got = ReadSites(ReadData("keepassxc_export.xml"));
  EXPECT_EQ(got.format, TFormat::KeePassXml);
  ASSERT_EQ(got.sites.size(), 2u);
  EXPECT_EQ(got.sites[0].fields.site, "Top");
  EXPECT_EQ(got.sites[0].fields.password, " sp pw ");
  const TSiteFields& mail = got.sites[1].fields;
  EXPECT_EQ(mail.site, "Work/Mail/Mail ");
  EXPECT_EQ(mail.user, "newjoe");
  EXPECT_EQ(mail.password, "p<w");
  EXPECT_EQ(mail.url, "https://mail.example");
  EXPECT_EQ(mail.notes,
            "line1\nline2\nCustom: cv\nTOTP: otpauth://totp/x?secret=JBSWY3DPEHPK3PXP");
  EXPECT_GT(got.sites[1].line, got.sites[0].line);
}

TEST(ReadKeePassXml, RefusesWhatItCannotRead) {
  for (const char* text :
       {"<KeePassFile><Root><Group><Entry>\n<String><Key>Password</Key>"
        "<Value Protected=\"True\">c2VjcmV0</Value></String></Entry></Group></Root></KeePassFile>",
        "<KeePassFile><Root><Group>\n<Entry></Group>", "<html/>"}) {
    EXPECT_THROW(ReadSites(text), EFormatError) << text;
  }
}

constexpr const char* kBitwardenJson = R"({
  "encrypted": false,
  "folders": [{"id": "f1", "name": "Work/Mail"}],
  "items": [
    {"type": 1, "name": "Inbox", "folderId": "f1", "notes": "n\n",
     "fields": [{"name": "PIN", "value": "1234", "type": 1}],
     "login": {"username": "joe", "password": " pw ", "totp": "SEED",
               "uris": [{"match": null, "uri": "https://a"}, {"uri": "https://b"}]}},
    {"type": 2, "name": "Memo", "folderId": null, "notes": "text", "secureNote": {"type": 0}},
    {"type": 3, "name": "Visa", "notes": null,
     "card": {"cardholderName": "Joe", "number": "4111", "code": null}}
  ]
})";

TEST(ReadBitwardenJson, KeepsFoldersUrisFieldsAndCards) {
  const TSiteImport got = ReadSites(kBitwardenJson);
  EXPECT_EQ(got.format, TFormat::BitwardenJson);
  ASSERT_EQ(got.sites.size(), 3u);
  const TSiteFields& inbox = got.sites[0].fields;
  EXPECT_EQ(inbox.site, "Work/Mail/Inbox");
  EXPECT_EQ(inbox.user, "joe");
  EXPECT_EQ(inbox.password, " pw ");
  EXPECT_EQ(inbox.url, "https://a");
  EXPECT_EQ(inbox.notes, "n\nURL: https://b\nPIN: 1234\nTOTP: SEED");
  EXPECT_EQ(got.sites[1].fields.notes, "text");
  EXPECT_EQ(got.sites[2].fields.notes, "cardholderName: Joe\nnumber: 4111");
  EXPECT_EQ(got.sites[2].Where(), "item 3");
}

TEST(ReadBitwardenJson, RefusesEncryptedAndMalformedExports) {
  EXPECT_THROW(ReadSites(R"({"encrypted": true, "items": []})"), EFormatError);
  EXPECT_THROW(ReadSites(R"({"folders": []})"), EFormatError);
  try {
    ReadSites("{\n\"items\": [\n{\"name\": }]}");
    FAIL() << "malformed JSON was taken";
  } catch (const EFormatError& e) {
    EXPECT_EQ(e.Line(), 3);
  }
}

}  // namespace
}  // namespace interchange
