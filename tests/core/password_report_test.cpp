// The password report on a made list: which sites it names, for what, in
// which order, and the change dates it carries.

#include "core/password_report.h"

#include <gtest/gtest.h>

#include <map>

#include "core/pw_rec.h"

namespace {

using namespace std::chrono_literals;

const TChangeTime kNow = TChangeTime(std::chrono::sys_days(std::chrono::year(2026) / 6 / 1));

struct TSite {
  const char* name;
  const char* pw;
  int ageDays;  // -1: no change date known
};

TEST(PasswordReport, NamesEmptyWeakReusedAndOldSites) {
  const TSite made[] = {
      {"bank", "Correct-Horse-Battery-Staple-91", 30},
      {"mail", "Correct-Horse-Battery-Staple-91", -1},
      {"forum", "123456", 400},
      {"shop", "", -1},
      {"news", "", 10},
      {"wiki", "qwerty", -1},
      {"club", "qwerty", 366},
      {"solo", "vK9#pLz!2mQx@7Tw", 365},
  };
  std::vector<TqelPwRec> recs(std::size(made));
  std::vector<const TqelPwRec*> sites;
  std::map<std::string, int> ages;
  for (std::size_t i = 0; i < recs.size(); ++i) {
    recs[i].SetSite(made[i].name);
    recs[i].SetPW(made[i].pw);
    ages[made[i].name] = made[i].ageDays;
    sites.push_back(&recs[i]);
  }
  const TChangeDateFn dates = [&ages](const TqelPwRec& rec) -> std::optional<TChangeTime> {
    const int days = ages.at(rec.Site());
    if (days < 0) return std::nullopt;
    return kNow - std::chrono::days(days);
  };
  const std::vector<TReportRow> rows = MakePasswordReport(sites, dates, kNow);

  struct TExpected {
    TPasswordIssue issue;
    const char* site;
    int group;
  };
  const TExpected expected[] = {
      {TPasswordIssue::Empty, "shop", 0},  {TPasswordIssue::Empty, "news", 0},
      {TPasswordIssue::Weak, "forum", 0},  {TPasswordIssue::Weak, "wiki", 0},
      {TPasswordIssue::Weak, "club", 0},   {TPasswordIssue::Reused, "bank", 1},
      {TPasswordIssue::Reused, "mail", 1}, {TPasswordIssue::Reused, "wiki", 2},
      {TPasswordIssue::Reused, "club", 2}, {TPasswordIssue::Old, "forum", 0},
      {TPasswordIssue::Old, "club", 0},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].issue, expected[i].issue);
    EXPECT_EQ(recs[rows[i].index].Site(), expected[i].site);
    EXPECT_EQ(rows[i].group, expected[i].group);
    EXPECT_EQ(rows[i].changed.has_value(), ages[expected[i].site] >= 0);
  }
}

TEST(PasswordReport, WithoutChangeRecordsNothingIsOldAndDatesAreUnknown) {
  TqelPwRec a, b;
  a.SetSite("a");
  a.SetPW("x");
  b.SetSite("b");
  b.SetPW("Zq7!vR2#kLm9@wPx");
  const auto rows = MakePasswordReport({&a, &b}, NoChangeDates(), kNow);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].issue, TPasswordIssue::Weak);
  EXPECT_EQ(ChangeDateText(rows[0].changed), "unknown");
  EXPECT_TRUE(MakePasswordReport({}, NoChangeDates(), kNow).empty());
}

}  // namespace
