// Hardened archives through the save and the one reader rule: the typed
// password becomes the key, the members carry the record, and a record out
// of bounds is a clear failure before anything is derived.

#include <gtest/gtest.h>

#include "archive/site_list_reader.h"
#include "archive/storage/vault_save.h"
#include "archive/zip/hardened_extra.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

const std::string kSites = "Bank=ann\tb4nk\t\t\r\n";

class TOffers final : public TPasswordSource {
 public:
  explicit TOffers(std::vector<std::string> offers) : offers_(std::move(offers)) {}
  std::optional<TSecretBytes> Next(const TReadFailure& failure) override {
    told.push_back(failure.verdict);
    if (next_ == offers_.size()) return std::nullopt;
    return TSecretBytes(std::string_view(offers_[next_++]));
  }
  std::vector<TReadVerdict> told;

 private:
  std::vector<std::string> offers_;
  std::size_t next_ = 0;
};

class HardenedReadTest : public ::testing::Test {
 protected:
  HardenedReadTest() { SetHardenedMemoryForTesting(kMinHardenedMemory); }
  ~HardenedReadTest() override { SetHardenedMemoryForTesting(0); }

  void Save(const std::string& password) {
    TSaveOptions options;
    options.encryption = TEncryption::Aes256Hardened;
    THardenedKeys keys;
    TZipPassword zip = ZipPasswordFor(TSecretBytes(password), options.encryption, keys);
    params = *zip.hardened;
    options.password = std::move(zip.password);
    options.hardened = zip.hardened;
    options.backups = 0;
    SaveVault(archive, kSites, TChangeRecords{}, options);
  }
  // Replaces every copy of the record's text (local header and directory).
  void Tamper(const std::string& from, const std::string& to) {
    ASSERT_EQ(from.size(), to.size());
    std::string bytes = ReadWholeFile(archive);
    std::size_t at = 0;
    int found = 0;
    while ((at = bytes.find(from, at)) != std::string::npos) {
      bytes.replace(at, from.size(), to);
      ++found;
    }
    ASSERT_EQ(found, 4);  // Data and Data.changes, each twice
    WriteWholeFile(archive, bytes);
  }

  TScratchDir dir;
  std::string archive = dir.File("keys.zip");
  THardenedParams params;
};

TEST_F(HardenedReadTest, OpensWithThePasswordTurnedIntoTheKey) {
  Save("caf\xc3\xa9");
  // The key itself typed as a password is derived again, so it fails; the
  // Windows-1252 form is not tried, so only one attempt per offer.
  TOffers offers({DeriveHardenedKey("caf\xc3\xa9", params).str(), "caf\xc3\xa9"});
  THardenedKeys keys;
  const TSiteListRead read = ReadSiteList(archive, "", offers, &keys);
  ASSERT_FALSE(read.failure) << ReadFailureText(*read.failure);
  EXPECT_EQ(offers.told, (std::vector{TReadVerdict::NoPassword, TReadVerdict::WrongPassword}));
  EXPECT_EQ(read.encryption, TEncryption::Aes256Hardened);
  EXPECT_EQ(read.data.view(), kSites);
  EXPECT_EQ(read.password.view(), "caf\xc3\xa9");
  EXPECT_EQ(read.zipPassword, DeriveHardenedKey("caf\xc3\xa9", params));
  EXPECT_EQ(read.hardened, params);
  EXPECT_TRUE(read.records);  // the change records open with the same key
  // Any ZIP reader opens the members with the key, not with the password.
  EXPECT_EQ(ReadDataMember(archive, read.zipPassword.str()), kSites);
  // Read again with the first password: no question at all.
  TOffers none({});
  EXPECT_FALSE(ReadSiteList(archive, "caf\xc3\xa9", none, &keys).failure);
  EXPECT_TRUE(none.told.empty());
}

TEST_F(HardenedReadTest, ABadRecordIsDamageNamedBeforeAnyDerivation) {
  Save("pw");
  const std::string text = HardenedRecordText(params);
  const std::string passes = " t=" + std::to_string(params.operations) + " ";
  const std::string cases[][2] = {{passes, " t=0 "}, {"m=8192 ", "m=4096 "}};
  for (const auto& [from, to] : cases) {
    Tamper(from, to);
    TOffers offers({"pw"});
    const TSiteListRead read = ReadSiteList(archive, "pw", offers);
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->verdict, TReadVerdict::Damaged);
    EXPECT_NE(ReadFailureText(*read.failure).find("bad key record"), std::string::npos)
        << ReadFailureText(*read.failure);
    Tamper(to, from);
  }
  // A salt changed within bounds gives another key: a wrong password.
  Tamper(text.substr(text.size() - 4), "0000");
  TOffers offers({});
  const TSiteListRead read = ReadSiteList(archive, "pw", offers);
  ASSERT_TRUE(read.failure);
  EXPECT_EQ(read.failure->verdict, TReadVerdict::WrongPassword);
}

}  // namespace
