#include "core/change_records.h"

#include "core/change_date.h"
#include "core/pw_rec.h"

#include <gtest/gtest.h>

namespace {

const std::string kMail1 = "Mail=ann\tpw1\t\t";
const std::string kMail2 = "Mail=ann\tpw2\t\t";
const std::string kBank = "Bank=ann\tb\t\t";

TEST(ChangeRecords, TextRoundTripsEveryField) {
  TChangeRecords records = RecordSave(std::nullopt, {}, {kMail1, kBank}, 100);
  records = RecordSave(records, {kMail1, kBank}, {kMail2}, 200);
  records.dataCrc = 0xDEADBEEF;
  records.dataSize = 42;
  const auto parsed = ParseChangeRecords(FormatChangeRecords(records));
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->dataCrc, 0xDEADBEEFu);
  EXPECT_EQ(parsed->dataSize, 42u);
  ASSERT_EQ(parsed->lines.size(), 1u);
  EXPECT_EQ(parsed->lines.begin()->second.changed, 200);
  ASSERT_EQ(parsed->tombstones.size(), 2u);
  EXPECT_EQ(FormatChangeRecords(*parsed), FormatChangeRecords(records));
}

TEST(ChangeRecords, LinesSeenInPlaceInAnyOrderGiveTheSameRecords) {
  std::vector<std::string> before, after;
  for (int i = 0; i < 60; ++i) before.push_back("Site" + std::to_string(i) + "=u\tpw\t\t");
  after = before;
  after[3] = "Site3=u\tnew\t\t";              // an edit
  after.erase(after.begin() + 10);             // a deletion
  after.push_back("Added=u\tpw\t\t");          // an addition
  const TChangeRecords first = RecordSave(std::nullopt, {}, before, 100);
  const TChangeRecords expected = RecordSave(first, before, after, 200);
  std::vector<std::string_view> oldSeen(before.rbegin(), before.rend());
  std::vector<std::string_view> newSeen(after.rbegin(), after.rend());
  newSeen.push_back(after.front());  // a repeat counts once
  const TChangeRecords got = RecordSaveInPlace(first, oldSeen, newSeen, 200);
  EXPECT_EQ(FormatChangeRecords(got), FormatChangeRecords(expected));
  ASSERT_EQ(expected.tombstones.size(), 2u);
  EXPECT_EQ(expected.lines.size(), after.size());
  EXPECT_EQ(expected.lines.at(LineFingerprint(after[3])).family, LineFingerprint(before[3]));
  EXPECT_EQ(expected.lines.at(LineFingerprint(after[0])).changed, 100);
}

TEST(ChangeRecords, RefusesTextItDidNotWrite) {
  const std::string good = FormatChangeRecords(RecordSave(std::nullopt, {}, {kMail1}, 100));
  const std::string fp = LineFingerprint(kMail1);
  for (const std::string& text : {
           std::string(),
           std::string("vornix change records 2\ndata 0 0\n"),
           std::string("vornix change records 1\n"),                     // no data line
           good.substr(0, good.size() - 1),                              // last LF missing
           std::string("vornix change records 1\ndata 0 0\nline x ") + fp + " " + fp + "\n",
           std::string("vornix change records 1\ndata 0 0\nline 5 ") + fp + " short\n",
           std::string("vornix change records 1\ndata 0 0\ngone 5 ") + fp + " " + fp +
               " lost Mail=ann\n",
           std::string("vornix change records 1\ndata zz 0\n"),
       }) {
    EXPECT_FALSE(ParseChangeRecords(text)) << text;
  }
  EXPECT_TRUE(ParseChangeRecords(good));
}

TEST(ChangeRecords, ASaveStampsOnlyWhatChanged) {
  const TChangeRecords first = RecordSave(std::nullopt, {kBank}, {kBank, kMail1}, 100);
  // A line the old site list held without records counts as changed at 0.
  EXPECT_EQ(first.lines.at(LineFingerprint(kBank)).changed, 0);
  EXPECT_EQ(first.lines.at(LineFingerprint(kMail1)).changed, 100);

  const TChangeRecords edited = RecordSave(first, {kBank, kMail1}, {kBank, kMail2}, 200);
  EXPECT_EQ(edited.lines.at(LineFingerprint(kBank)).changed, 0);
  EXPECT_EQ(edited.lines.at(LineFingerprint(kMail2)).family, LineFingerprint(kMail1));
  ASSERT_EQ(edited.tombstones.size(), 1u);
  EXPECT_FALSE(edited.tombstones[0].deleted);
  EXPECT_EQ(edited.tombstones[0].identity, "Mail=ann");

  const TChangeRecords deleted = RecordSave(edited, {kBank, kMail2}, {kBank}, 300);
  ASSERT_EQ(deleted.tombstones.size(), 2u);
  EXPECT_TRUE(deleted.tombstones[1].deleted);
  // The family goes on through the edit, so a later deletion names the site's first line.
  EXPECT_EQ(deleted.tombstones[1].family, LineFingerprint(kMail1));
}

TEST(ChangeRecords, TombstonesOlderThanAYearGo) {
  const TChangeRecords first = RecordSave(std::nullopt, {kBank}, {}, 100);
  EXPECT_EQ(RecordSave(first, {}, {}, 100 + kTombstoneLifetime).tombstones.size(), 1u);
  EXPECT_TRUE(RecordSave(first, {}, {}, 101 + kTombstoneLifetime).tombstones.empty());
}

TEST(ChangeRecords, StampsNeverGoBackInTime) {
  const TChangeRecords records = RecordSave(std::nullopt, {}, {kBank}, 5000);
  EXPECT_EQ(StampTime(records, 4000), 5001);
  EXPECT_EQ(StampTime(records, 6000), 6000);
}

}  // namespace

// The details pane and the report read a site's date from the records: the
// stamp of its line, and nothing for a line they do not hold or stamp at 0.
TEST(ChangeDates, ComeFromTheStampOfTheSitesLine) {
  TqelPwRec stamped, unstamped, unknown;
  stamped.SetLine("Bank=ann\tpw\t\t");
  unstamped.SetLine("Mail=bob\tpw\t\t");
  unknown.SetLine("Shop=cy\tpw\t\t");
  TChangeRecords records;
  records.lines[LineFingerprint(stamped.Line())].changed = 1'700'000'000;
  records.lines[LineFingerprint(unstamped.Line())].changed = 0;
  const TChangeDateFn dates = ChangeDatesFrom(records);
  EXPECT_EQ(dates(stamped), std::chrono::system_clock::from_time_t(1'700'000'000));
  EXPECT_FALSE(dates(unstamped));
  EXPECT_FALSE(dates(unknown));
  EXPECT_FALSE(ChangeDatesFrom(std::nullopt)(stamped));
}
