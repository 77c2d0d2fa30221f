// The one reader rule: which passwords are tried in which form, what the
// password source is told after each failure, and what a read returns.

#include <gtest/gtest.h>

#include "archive/site_list_reader.h"
#include "archive/storage/safe_save.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

const std::string kSites = "Bank=ann\tb4nk\t\t\r\n";

// Offers the given passwords in turn and records the verdicts it was told.
class TScriptedPasswords final : public TPasswordSource {
 public:
  explicit TScriptedPasswords(std::vector<std::string> answers) : answers_(std::move(answers)) {}
  std::optional<TSecretBytes> Next(const TReadFailure& failure) override {
    told.push_back(failure.verdict);
    if (next_ == answers_.size()) return std::nullopt;
    return TSecretBytes(std::string_view(answers_[next_++]));
  }
  std::vector<TReadVerdict> told;

 private:
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
};

class SiteListReaderTest : public ::testing::Test {
 protected:
  std::string Save(const std::string& password, TEncryption encryption) {
    TSaveOptions options;
    options.password = password;
    options.encryption = encryption;
    options.backups = 0;
    SaveDataArchive(archive, kSites, options);
    return archive;
  }
  TScratchDir dir;
  std::string archive = dir.File("keys.zip");
};

TEST_F(SiteListReaderTest, AsksAfterEachFailureAndKeepsThePasswordThatOpened) {
  Save("right", TEncryption::Aes256);
  TScriptedPasswords source({"wrong", "right", "never asked"});
  const TSiteListRead read = ReadSiteList(archive, "", source);
  ASSERT_FALSE(read.failure);
  EXPECT_EQ(source.told, (std::vector{TReadVerdict::NoPassword, TReadVerdict::WrongPassword}));
  EXPECT_EQ(read.data.view(), kSites);
  EXPECT_EQ(read.password.view(), "right");
  EXPECT_EQ(read.encryption, TEncryption::Aes256);
}

// Older archives hold the password's Windows-1252 bytes: the typed UTF-8
// form is tried first, then that one, with no second question.
TEST_F(SiteListReaderTest, TriesTheWindows1252FormOfATypedPassword) {
  Save("caf\xe9", TEncryption::Traditional);
  TScriptedPasswords source({"caf\xc3\xa9"});
  const TSiteListRead read = ReadSiteList(archive, "", source);
  ASSERT_FALSE(read.failure);
  EXPECT_EQ(source.told.size(), 1u);
  EXPECT_EQ(read.password.view(), "caf\xe9");
}

TEST_F(SiteListReaderTest, ADamagedAesMemberIsToldApartFromAWrongPassword) {
  Save("right", TEncryption::Aes256);
  std::string bytes = ReadWholeFile(archive);
  bytes[66] = static_cast<char>(bytes[66] ^ 0x55);  // past header, salt and verifier
  WriteWholeFile(archive, bytes);
  TNoPasswords none;
  const TSiteListRead read = ReadSiteList(archive, "right", none);
  ASSERT_TRUE(read.failure);
  EXPECT_EQ(read.failure->verdict, TReadVerdict::FailedAfterCheck);
  EXPECT_TRUE(read.data.empty());
  const TSiteListRead wrong = ReadSiteList(archive, "wrong", none);
  ASSERT_TRUE(wrong.failure);
  EXPECT_EQ(wrong.failure->verdict, TReadVerdict::WrongPassword);
}

TEST_F(SiteListReaderTest, AnUnencryptedListOpensAtOnceAndKeepsNoPassword) {
  Save("", TEncryption::None);
  TScriptedPasswords source({});
  const TSiteListRead read = ReadSiteList(archive, "given anyway", source);
  ASSERT_FALSE(read.failure);
  EXPECT_TRUE(source.told.empty());
  EXPECT_TRUE(read.password.empty());
  EXPECT_EQ(read.data.view(), kSites);
}

}  // namespace
