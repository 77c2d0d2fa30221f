// The hardened key: its bounds, its derivation and the record that carries
// its salt and cost in a member's extra field.

#include <gtest/gtest.h>

#include <algorithm>

#include "archive/crypto/hardened_key.h"
#include "archive/zip/aes_extra.h"
#include "archive/zip/hardened_extra.h"

namespace {

THardenedParams Cheap(char saltByte = 's') {
  return THardenedParams{kMinHardenedMemory, 1, std::string(kHardenedSaltSize, saltByte)};
}

struct TBoundsCase {
  const char* name;
  THardenedParams params;
  const char* problem;  // a part of the problem, or nullptr for none
};

class HardenedBoundsTest : public ::testing::TestWithParam<TBoundsCase> {};

TEST_P(HardenedBoundsTest, RefusesWhatNoSaveWrites) {
  const auto problem = HardenedParamsProblem(GetParam().params);
  if (!GetParam().problem) {
    EXPECT_FALSE(problem) << *problem;
    return;
  }
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(GetParam().problem), std::string::npos) << *problem;
  EXPECT_THROW(DeriveHardenedKey("pw", GetParam().params), std::invalid_argument);
}

const std::string kSalt(kHardenedSaltSize, 'x');
INSTANTIATE_TEST_SUITE_P(
    Params, HardenedBoundsTest,
    ::testing::Values(
        // What every new archive gets.
        TBoundsCase{"RealCost", {kHardenedMemoryBytes, kHardenedOperations, kSalt}, nullptr},
        TBoundsCase{"Smallest", {8 * kMiB, 1, kSalt}, nullptr},
        TBoundsCase{"Largest", {1024 * kMiB, 64, kSalt}, nullptr},
        TBoundsCase{"TooLittleMemory", {8 * kMiB - 1024, 1, kSalt}, "memory cost"},
        TBoundsCase{"TooMuchMemory", {1024 * kMiB + 1024, 1, kSalt}, "memory cost 1024+ MiB"},
        TBoundsCase{"NoPasses", {8 * kMiB, 0, kSalt}, "operations count 0"},
        TBoundsCase{"TooManyPasses", {8 * kMiB, 65, kSalt}, "operations count 65"},
        TBoundsCase{"ShortSalt", {8 * kMiB, 1, std::string(15, 'x')}, "salt has 15 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HardenedKeyTest, IsSixtyFourLowerHexDigitsOfPasswordAndSalt) {
  const TSecretBytes key = DeriveHardenedKey("pw", Cheap());
  ASSERT_EQ(key.size(), 64u);
  EXPECT_TRUE(std::all_of(key.str().begin(), key.str().end(),
                          [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }));
  EXPECT_EQ(DeriveHardenedKey("pw", Cheap()), key);
  EXPECT_FALSE(DeriveHardenedKey("pW", Cheap()) == key);
  EXPECT_FALSE(DeriveHardenedKey("pw", Cheap('t')) == key);
}

TEST(HardenedKeyTest, KeepsTheSaltUntilThePasswordChanges) {
  SetHardenedMemoryForTesting(kMinHardenedMemory);
  THardenedKeys keys;
  const THardenedParams first = keys.ParamsFor("one");
  EXPECT_EQ(first.salt.size(), kHardenedSaltSize);
  EXPECT_EQ(keys.ParamsFor("one"), first);
  EXPECT_EQ(keys.KeyFor("one", first), DeriveHardenedKey("one", first));
  const THardenedParams second = keys.ParamsFor("two");
  EXPECT_NE(second.salt, first.salt);
  keys.Forget();
  EXPECT_NE(keys.ParamsFor("two").salt, second.salt);
  SetHardenedMemoryForTesting(0);
  EXPECT_EQ(NewHardenedParams().memoryBytes, kHardenedMemoryBytes);
}

TEST(HardenedRecordTest, RoundTripsAsPlainText) {
  THardenedParams params = Cheap();
  // A salt that holds the end record's signature stays text in the record.
  params.salt = std::string("PK\x05\x06", 4) + std::string(12, '\0');
  const std::string extra = BuildHardenedExtra(params);
  EXPECT_EQ(extra.find("PK"), std::string::npos);
  EXPECT_EQ(HardenedRecordText(params),
            "argon2id m=8192 t=1 s=504b0506000000000000000000000000");
  const auto record = FindHardenedRecord(BuildAesExtra({}) + extra);
  ASSERT_TRUE(record && record->params) << (record ? record->problem : "");
  EXPECT_EQ(*record->params, params);
  // A copied member keeps the record with its AES block.
  EXPECT_EQ(KeepAesExtra(BuildAesExtra({}) + extra), BuildAesExtra({}) + extra);
}

THardenedRecord RecordOf(const std::string& text) {
  std::string block("\x56\x4e", 2);
  block += static_cast<char>(text.size());
  block += '\0';
  return FindHardenedRecord(block + text).value_or(THardenedRecord{{}, "no record"});
}

TEST(HardenedRecordTest, TamperedRecordsSayWhatIsWrong) {
  const std::string salt = "s=00112233445566778899aabbccddeeff";
  const std::pair<std::string, std::string> cases[] = {
      {"argon2id m=2097152 t=1 " + salt, "memory cost 2048 MiB"},
      {"argon2id m=99999999999999999999 t=1 " + salt, "cannot be read"},
      {"argon2id m=4096 t=1 " + salt, "memory cost 4 MiB"},
      {"argon2id m=8192 t=0 " + salt, "operations count 0"},
      {"argon2id m=8192 t=4294967297 " + salt, "operations count"},
      {"argon2id m=8192 t=1 s=0011", "salt has 2 bytes"},
      {"argon2id m=8192 t=1 s=zz112233445566778899aabbccddeeff", "cannot be read"},
      {"argon2id m=8192 t=1 " + salt + " x=1", "cannot be read"},
      {"argon2id t=1 m=8192 " + salt, "cannot be read"},
  };
  for (const auto& [text, problem] : cases) {
    const THardenedRecord record = RecordOf(text);
    EXPECT_FALSE(record.params) << text;
    EXPECT_NE(record.problem.find(problem), std::string::npos) << text << ": " << record.problem;
  }
  // Another program's block under the same ID is no record of ours.
  EXPECT_FALSE(FindHardenedRecord(std::string("\x56\x4e\x03\x00" "abc", 7)));
}

}  // namespace
