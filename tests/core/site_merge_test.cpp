#include "core/site_merge.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

// One side's history since the common version: its lines after its own
// save at `saved` (a time), with or without change records.
struct TSideHistory {
  Lines lines;
  TStampTime saved = 200;
};

struct TMergeCase {
  const char* name;
  Lines base;
  TSideHistory ours, theirs;
  bool records;
  Lines expected;
  Lines conflicts = {};
  Lines added = {}, updated = {}, deleted = {};
};

TVaultVersion Version(const Lines& base, const TSideHistory& side, bool records) {
  TVaultVersion version;
  version.lines = side.lines;
  // DOS times only order the two sides; the save time does that too.
  version.dataTime = static_cast<std::uint32_t>(side.saved);
  if (records) {
    const TChangeRecords first = RecordSave(std::nullopt, {}, base, 100);
    version.records = RecordSave(first, base, side.lines, side.saved);
  }
  return version;
}

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class SiteMerge : public testing::TestWithParam<TMergeCase> {};

TEST_P(SiteMerge, KeepsWhatEachSideMeant) {
  const TMergeCase& c = GetParam();
  const TMergeOutcome outcome = MergeVersions(Version(c.base, c.ours, c.records),
                                              Version(c.base, c.theirs, c.records), 1000);
  EXPECT_EQ(Sorted(outcome.lines), Sorted(c.expected));
  EXPECT_EQ(outcome.conflicts, c.conflicts);
  EXPECT_EQ(outcome.added, c.added);
  EXPECT_EQ(outcome.updated, c.updated);
  EXPECT_EQ(outcome.deleted, c.deleted);
  EXPECT_EQ(outcome.withoutRecords, !c.records);
}

const std::string kMail1 = "Mail=ann\tpw1\t\t";
const std::string kMail2 = "Mail=ann\tpw2\t\t";
const std::string kMail3 = "Mail=ann\tpw3\t\t";
const std::string kBank = "Bank=ann\tb\t\t";
const std::string kShop = "Shop=\ts\t\t";

INSTANTIATE_TEST_SUITE_P(
    Cases, SiteMerge,
    testing::Values(
        TMergeCase{"AddedOnOurs", {kBank}, {{kBank, kShop}}, {{kBank}}, true, {kBank, kShop}},
        TMergeCase{"AddedOnTheirs", {kBank}, {{kBank}}, {{kBank, kShop}}, true, {kBank, kShop},
                   {}, {"Shop"}},
        TMergeCase{"DeletedOnTheirs", {kBank, kShop}, {{kBank, kShop}}, {{kBank}}, true, {kBank},
                   {}, {}, {}, {"Shop"}},
        TMergeCase{"DeletedOnOurs", {kBank, kShop}, {{kBank}}, {{kBank, kShop}}, true, {kBank}},
        TMergeCase{"EditedOnOurs", {kMail1}, {{kMail2}}, {{kMail1}}, true, {kMail2}},
        TMergeCase{"EditedOnTheirs", {kMail1}, {{kMail1}}, {{kMail2}}, true, {kMail2}, {}, {},
                   {"Mail (ann)"}},
        TMergeCase{"EditedOnBothTheirsLater", {kMail1}, {{kMail2}, 200}, {{kMail3}, 300}, true,
                   {kMail3}, {"Mail (ann)"}, {}, {"Mail (ann)"}},
        TMergeCase{"EditedOnBothOursLater", {kMail1}, {{kMail2}, 300}, {{kMail3}, 200}, true,
                   {kMail2}, {"Mail (ann)"}},
        TMergeCase{"EditedOnBothOneChangedLetterCase", {kMail1}, {{kMail2}, 300},
                   {{"mail=ANN\tpw1\t\t"}, 200}, true, {kMail2}, {"Mail (ann)"}},
        TMergeCase{"DeletedOnOursEditedLaterOnTheirs", {kMail1, kBank}, {{kBank}, 200},
                   {{kMail2, kBank}, 300}, true, {kMail2, kBank}, {}, {"Mail (ann)"}},
        TMergeCase{"DeletedOnOursAfterTheirEdit", {kMail1, kBank}, {{kBank}, 300},
                   {{kMail2, kBank}, 200}, true, {kBank}},
        // Blanks at a password's ends are part of it: a change, kept as made.
        TMergeCase{"PasswordBlanksAddedOnTheirs", {kMail1}, {{kMail1}}, {{"Mail=ann\t pw1 \t\t"}},
                   true, {"Mail=ann\t pw1 \t\t"}, {}, {}, {"Mail (ann)"}},
        TMergeCase{"RenamedOnTheirs", {kMail1}, {{kMail1}}, {{"Post=ann\tpw1\t\t"}}, true,
                   {"Post=ann\tpw1\t\t"}, {}, {"Post (ann)"}, {}, {"Mail (ann)"}},
        TMergeCase{"SameNameTwoUsers", {kMail1}, {{kMail1, "Mail=bob\tx\t\t"}}, {{kMail2}}, true,
                   {kMail2, "Mail=bob\tx\t\t"}, {}, {}, {"Mail (ann)"}},
        TMergeCase{"SameNameAndUserToldApartByLine", {kMail1, kMail2}, {{kMail1, kMail2}},
                   {{kMail2}}, true, {kMail2}, {}, {}, {"Mail (ann)"}},
        TMergeCase{"WithoutRecordsNewerSiteListWins", {kMail1}, {{kMail1}, 200},
                   {{kMail2}, 300}, false, {kMail2}, {}, {}, {"Mail (ann)"}},
        TMergeCase{"WithoutRecordsOlderSiteListLoses", {kMail1}, {{kMail1}, 300},
                   {{kMail2}, 200}, false, {kMail1}},
        TMergeCase{"WithoutRecordsDeletedSiteComesBack", {kBank, kShop}, {{kBank}},
                   {{kBank, kShop}}, false, {kBank, kShop}, {}, {"Shop"}}),
    [](const testing::TestParamInfo<TMergeCase>& info) { return info.param.name; });

// A side saved by a program that writes no records: its lines count as
// changed at the earliest time, so the other side's deletion still holds.
TEST(SiteMergeRecords, UnrecordedSiteNeverOutweighsATombstone) {
  const TChangeRecords first = RecordSave(std::nullopt, {}, {kBank, kShop}, 100);
  TVaultVersion ours{{kBank}, RecordSave(first, {kBank, kShop}, {kBank}, 200), 1};
  TVaultVersion theirs{{kBank, kShop}, std::nullopt, 9};
  const TMergeOutcome outcome = MergeVersions(ours, theirs, 1000);
  EXPECT_EQ(outcome.lines, Lines{kBank});
  EXPECT_TRUE(outcome.withoutRecords);
}

// The loser of a conflict leaves a tombstone, so merging the same copy
// again does not bring it back.
TEST(SiteMergeRecords, MergingTheSameCopyTwiceChangesNothing) {
  const TChangeRecords first = RecordSave(std::nullopt, {}, {kMail1}, 100);
  TVaultVersion ours{{kMail2}, RecordSave(first, {kMail1}, {kMail2}, 300), 1};
  const TVaultVersion theirs{{kMail3}, RecordSave(first, {kMail1}, {kMail3}, 200), 1};
  const TMergeOutcome once = MergeVersions(ours, theirs, 1000);
  ours.lines = once.lines;
  ours.records = once.records;
  const TMergeOutcome twice = MergeVersions(ours, theirs, 1001);
  EXPECT_EQ(twice.lines, Lines{kMail2});
  EXPECT_FALSE(twice.Changed());
  EXPECT_TRUE(twice.conflicts.empty());
}

}  // namespace
