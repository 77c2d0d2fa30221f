#include "core/collation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

struct CollateCase {
  const char* name;
  std::string a, b;
  int expected;  // sign of CollateCompare(a, b)
};

void PrintTo(const CollateCase& c, std::ostream* os) { *os << c.name; }

class Collate : public testing::TestWithParam<CollateCase> {};

TEST_P(Collate, OrdersAndIsAntisymmetric) {
  const CollateCase& c = GetParam();
  EXPECT_EQ(Sign(CollateCompare(c.a, c.b)), c.expected);
  EXPECT_EQ(Sign(CollateCompare(c.b, c.a)), -c.expected);
}

// Holds in every locale the tests may run under, the C locale included.
INSTANTIATE_TEST_SUITE_P(
    AnyLocale, Collate,
    testing::Values(CollateCase{"CaseIgnored", "Bank=joe", "bANK=JOE", 0},
                    CollateCase{"SmallBeforeCapitalLater", "alpha", "Beta", -1},
                    CollateCase{"CapitalBeforeSmallLater", "Beta", "zeta", -1},
                    CollateCase{"PrefixFirst", "Bank", "Bank=", -1},
                    CollateCase{"EmptyFirst", "", "a", -1}, CollateCase{"BothEmpty", "", "", 0},
                    CollateCase{"AccentCounts", "cote", "c\xc3\xb4te", -1},
                    CollateCase{"AccentedCapitalIgnoresCase", "\xc3\x89t\xc3\xa9",
                                "\xc3\xa9T\xc3\x89", 0},
                    CollateCase{"AccentedBeforeNextLetter", "\xc3\xa9z", "f", -1},
                    // Not UTF-8: read as Windows-1252, so 0xE9 is e-acute.
                    CollateCase{"Cp1252EqualsUtf8", "caf\xe9", "CAF\xc3\x89", 0},
                    CollateCase{"Cp1252EuroSign", "\x80", "\xe2\x82\xac", 0}),
    [](const testing::TestParamInfo<CollateCase>& info) { return std::string(info.param.name); });

}  // namespace
