#include "core/duration_text.h"

#include <gtest/gtest.h>

namespace {

constexpr double kHour = 3600;
constexpr double kYear = 365.25 * 24 * kHour;

struct DurationCase {
  double seconds;
  const char* text;
};

class HumanDurationTest : public testing::TestWithParam<DurationCase> {};

TEST_P(HumanDurationTest, ReadsAsAPersonSaysIt) {
  EXPECT_EQ(HumanDuration(GetParam().seconds), GetParam().text) << GetParam().seconds;
}

INSTANTIATE_TEST_SUITE_P(
    Units, HumanDurationTest,
    testing::Values(
        DurationCase{0, "less than a second"}, DurationCase{0.999, "less than a second"},
        DurationCase{-5, "less than a second"}, DurationCase{1, "1 second"},
        DurationCase{59, "59 seconds"}, DurationCase{60, "1 minute"},
        DurationCase{3 * kHour, "3 hours"}, DurationCase{36 * kHour, "2 days"},
        DurationCase{45 * 24 * kHour, "1 month"}, DurationCase{kYear, "1 year"},
        DurationCase{42 * kYear, "42 years"}, DurationCase{150 * kYear, "centuries"},
        DurationCase{999 * kYear, "centuries"}, DurationCase{2000 * kYear, "2,000 years"},
        DurationCase{45678 * kYear, "46,000 years"}, DurationCase{940000 * kYear, "940,000 years"},
        DurationCase{1e6 * kYear, "more than a million years"},
        DurationCase{1e300, "more than a million years"}));

}  // namespace
