// The archive session: what a read makes it take, a save that meets a file
// another program changed, and the lock that forgets the password.

#include <gtest/gtest.h>

#include "archive/archive_session.h"
#include "archive/storage/safe_save.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

const std::string kSites = "Bank=u\tp\t\t\r\n";
const std::string kOther = "Mail=u\tp\t\t\r\n";

class ArchiveSessionTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string path = dir.File("keys.zip");
  TArchiveSession session{[this] { return TSettingsFile{dir.File("user.conf"), "General", ""}; }};
  TNoPasswords none;

  void SetUp() override {
    SaveDataArchive(path, "pw", kSites);
    session.SetPath(path);
  }
  std::optional<TSaveWarnings> Save(const std::string& text, TOutsideChange policy) {
    TArchiveLock lock(path);
    return session.Save(text, session.SaveOptions(0), lock, policy);
  }
};

TEST_F(ArchiveSessionTest, ASaveRefusesAFileChangedSinceTheReadUnlessToldToOverwrite) {
  ASSERT_FALSE(session.Open("pw", none).found.failure);
  EXPECT_FALSE(session.ChangedOnDisk());
  SaveDataArchive(path, "pw", kOther);  // another program's save
  EXPECT_TRUE(session.ChangedOnDisk());

  EXPECT_EQ(Save(kSites + kOther, TOutsideChange::Refuse), std::nullopt);
  EXPECT_EQ(ReadDataMember(path, "pw"), kOther);

  EXPECT_TRUE(Save(kSites + kOther, TOutsideChange::Overwrite));
  EXPECT_EQ(ReadDataMember(path, "pw"), kSites + kOther);
  EXPECT_FALSE(session.ChangedOnDisk());  // what it wrote is what it holds
}

TEST_F(ArchiveSessionTest, ANewNameHoldsNothingToLose) {
  session.SetPath(dir.File("other.zip"));
  SaveDataArchive(dir.File("other.zip"), "pw", kOther);
  EXPECT_FALSE(session.ChangedOnDisk());
}

// A read takes the password only from an encrypted member; a failed one
// leaves everything as it was.
TEST_F(ArchiveSessionTest, OnlyAnEncryptedMemberGivesThePassword) {
  session.SetPassword(TSecretBytes(std::string_view("earlier")));
  EXPECT_TRUE(session.Open("wrong", none).found.failure);
  EXPECT_EQ(session.Password().str(), "earlier");
  EXPECT_FALSE(session.History().Records());

  SaveDataArchive(path, "", kOther);
  ASSERT_FALSE(session.Open("", none).found.failure);
  EXPECT_EQ(session.Password().str(), "earlier");

  SaveDataArchive(path, "pw", kSites);
  std::optional<TSecretBytes> typed{TSecretBytes(std::string_view("pw"))};
  TPasswordsFrom once([&typed](const TReadFailure&) { return std::exchange(typed, std::nullopt); });
  const TSessionRead read = session.Open("", once);
  EXPECT_EQ(read.found.data.str(), kSites);
  EXPECT_EQ(session.Password().str(), "pw");
  EXPECT_EQ(session.WriteEncryption(), TEncryption::Traditional);
}

TEST_F(ArchiveSessionTest, LockForgetsThePasswordAndUnlockTriesTheTypedOneOnce) {
  ASSERT_FALSE(session.Open("pw", none).found.failure);
  ASSERT_TRUE(Save(kSites, TOutsideChange::Refuse));
  ASSERT_TRUE(session.History().Records());
  session.Lock();
  EXPECT_TRUE(session.Password().empty());
  EXPECT_FALSE(session.History().Records());

  TZipReader reader;
  TMemoryStream buffer;
  EXPECT_TRUE(session.Unlock(TSecretBytes(std::string_view("wrong")), reader, buffer).found.failure);
  EXPECT_TRUE(session.Password().empty());
  TZipReader again;
  TMemoryStream into;
  EXPECT_EQ(session.Unlock(TSecretBytes(std::string_view("pw")), again, into).found.data.str(), kSites);
  EXPECT_EQ(session.Password().str(), "pw");
}

}  // namespace
