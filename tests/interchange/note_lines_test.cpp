#include "interchange/note_lines.h"

#include <gtest/gtest.h>

namespace interchange {
namespace {

struct SplitCase {
  std::string notes, rest, totp;
};

class SplitTotpTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTotpTest, TakesTheFirstTotpLineOut) {
  const TNotesTotp got = SplitTotp(GetParam().notes);
  EXPECT_EQ(got.notes, GetParam().rest);
  EXPECT_EQ(got.totp, GetParam().totp);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, SplitTotpTest,
    ::testing::Values(SplitCase{"", "", ""}, SplitCase{"TOTP: SEED", "", "SEED"},
                      SplitCase{"n\nTOTP: SEED", "n", "SEED"},
                      SplitCase{"TOTP:SEED\nafter", "after", "SEED"},
                      SplitCase{"a\notpauth://totp/x?secret=S\nb", "a\nb", "otpauth://totp/x?secret=S"},
                      SplitCase{"my TOTP: is elsewhere", "my TOTP: is elsewhere", ""},
                      SplitCase{"TOTPS: no", "TOTPS: no", ""}));

TEST(NotesWithTotp, RoundTripsThroughSplit) {
  for (const std::string notes : {"", "n", "two\nlines"}) {
    const TNotesTotp back = SplitTotp(NotesWithTotp(notes, " SEED "));
    EXPECT_EQ(back.notes, notes);
    EXPECT_EQ(back.totp, "SEED");
  }
  EXPECT_EQ(NotesWithTotp("n", ""), "n");
}

TEST(TotpUri, LabelsABareSecretAndKeepsAUri) {
  EXPECT_EQ(TotpUri("JBSW Y3DP", "Mail & Co"), "otpauth://totp/Mail%20%26%20Co?secret=JBSW%20Y3DP");
  EXPECT_EQ(TotpUri("otpauth://totp/x?secret=S", "y"), "otpauth://totp/x?secret=S");
}

}  // namespace
}  // namespace interchange
