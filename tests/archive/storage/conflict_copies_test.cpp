#include "archive/storage/conflict_copies.h"

#include <gtest/gtest.h>

#include "tests/archive/support/archive_test_support.h"

namespace {

struct TNameCase {
  const char* name;
  TConflictCopyKind kind;
};

class ConflictCopyNames : public testing::TestWithParam<TNameCase> {};

TEST_P(ConflictCopyNames, AreToldApart) {
  EXPECT_EQ(ConflictCopyKind("keys.zip", GetParam().name), GetParam().kind) << GetParam().name;
}

using K = TConflictCopyKind;
INSTANTIATE_TEST_SUITE_P(
    Names, ConflictCopyNames,
    testing::Values(TNameCase{"keys.sync-conflict-20261209-001635-H7X6HMZ.zip", K::OfArchive},
                    TNameCase{"keys (conflicted copy 2026-12-09 001635).zip", K::OfArchive},
                    TNameCase{"keys (conflicted copy ann 2026-12-09 001635).zip", K::OfArchive},
                    TNameCase{"keys_conflict-20261209-001635.zip", K::OfArchive},
                    TNameCase{"keys (Ann Lee's conflicted copy 2026-12-09).zip", K::OfArchive},
                    TNameCase{"keys (Ann\xE2\x80\x99s conflicted copy 2026-12-09).zip",
                              K::OfArchive},
                    TNameCase{"keys.sync-conflict-20261209-001635-H7X6HMZ"
                              ".sync-conflict-20261210-101010-ABCDEFG.zip",
                              K::OfArchive},
                    TNameCase{"keys_conflict-20261209-001635 (conflicted copy 2026-12-09 "
                              "001700).zip",
                              K::OfArchive},
                    TNameCase{"keys.backup.sync-conflict-20261209-001635-H7X6HMZ.zip",
                              K::OfBackup},
                    TNameCase{"keys.backup3_conflict-20261209-001635.zip", K::OfBackup},
                    TNameCase{"keys.zip", K::None},
                    TNameCase{"keys.backup.zip", K::None},
                    TNameCase{"other.sync-conflict-20261209-001635-H7X6HMZ.zip", K::None},
                    TNameCase{"keys.sync-conflict-20261209-001635-H7X6HMZ.txt", K::None},
                    TNameCase{"keys.sync-conflict-2026129-001635-H7X6HMZ.zip", K::None},
                    TNameCase{"keys.sync-conflict-20261209-001635-h7x6hmz.zip", K::None},
                    TNameCase{"keys (conflicted copy).zip", K::None},
                    TNameCase{"keys (conflicted copy 2026-12-09).zip", K::None},
                    TNameCase{"keys (s conflicted copy 2026-12-09).zip", K::None},
                    TNameCase{"mykeys_conflict-20261209-001635.zip", K::None}));

TEST(ConflictCopies, MergedCopyBecomesTheNewestBackupAndBackupCopiesGo) {
  TScratchDir dir;
  const std::string archive = dir.File("keys.zip");
  const std::string copy = "keys.sync-conflict-20261209-001635-H7X6HMZ.zip";
  const std::string backupCopy = "keys.backup.sync-conflict-20261209-001635-H7X6HMZ.zip";
  WriteWholeFile(archive, "now");
  WriteWholeFile(dir.File("keys.backup.zip"), "older");
  WriteWholeFile(dir.File(copy), "theirs");
  WriteWholeFile(dir.File(backupCopy), "old theirs");
  WriteWholeFile(dir.File("unrelated (conflicted copy 2026-12-09 001635).zip"), "x");
  EXPECT_EQ(ConflictCopiesOf(archive), std::vector<std::string>{copy});

  RetireConflictCopy(archive, copy, 2);
  RemoveBackupConflictCopies(archive);
  EXPECT_EQ(FolderContents(dir.Path()),
            (std::vector<std::string>{"keys.backup.zip", "keys.backup2.zip", "keys.zip",
                                      "unrelated (conflicted copy 2026-12-09 001635).zip"}));
  EXPECT_EQ(ReadWholeFile(dir.File("keys.backup.zip")), "theirs");
  EXPECT_EQ(ReadWholeFile(dir.File("keys.backup2.zip")), "older");
  EXPECT_TRUE(ConflictCopiesOf(archive).empty());
}

}  // namespace
