// The strongest encryption each archive has been seen with: raised by
// stronger reads, kept against weaker ones, set by what a save wrote.

#include <gtest/gtest.h>

#include "archive/encryption_memory.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

using E = TEncryption;

struct TStep {
  E found;                           // what a read found
  E write;                           // what the next save then writes
  std::optional<E> weakerThan = {};  // the warning's remembered encryption
};

class EncryptionMemoryTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  TSettingsFile settings{dir.File("user.conf"), "General", ""};
  std::string archive = dir.File("keys.zip");

  void Expect(const std::vector<TStep>& steps) {
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const TEncryptionCheck check = CheckEncryption(settings, archive, steps[i].found);
      EXPECT_EQ(check.write, steps[i].write) << "step " << i;
      EXPECT_EQ(check.weakerThan, steps[i].weakerThan) << "step " << i;
    }
  }
};

TEST_F(EncryptionMemoryTest, AWeakerCopyIsToldAndSavedStrongAgain) {
  Expect({{E::Traditional, E::Traditional},
          {E::Aes256, E::Aes256},                   // raised
          {E::Traditional, E::Aes256, E::Aes256},   // replaced by a weaker copy
          {E::Traditional, E::Aes256, E::Aes256},   // said again at the next read
          {E::None, E::Traditional, E::Aes256},     // nothing to encrypt with
          {E::Aes128, E::Aes256}});                 // any AES is as strong
}

TEST_F(EncryptionMemoryTest, ASaveRemembersWhatTheUserChose) {
  Expect({{E::Aes256, E::Aes256}});
  RememberEncryption(settings, archive, E::Traditional);  // passwd --encryption traditional
  Expect({{E::Traditional, E::Traditional}});
}

// Paths with "=" or line breaks, which a settings name cannot hold, and
// archives of their own each keep their own memory.
TEST_F(EncryptionMemoryTest, EachPathHasItsOwnMemory) {
  const std::string odd = dir.File("a=b\nc.zip");
  CheckEncryption(settings, odd, E::Aes256);
  CheckEncryption(settings, archive, E::Traditional);
  EXPECT_EQ(CheckEncryption(settings, odd, E::Traditional).weakerThan, E::Aes256);
  EXPECT_FALSE(CheckEncryption(settings, archive, E::Traditional).weakerThan);
}

}  // namespace
