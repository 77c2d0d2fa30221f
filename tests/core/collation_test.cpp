#include "core/collation.h"

#include "core/collation_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <random>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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

// Keys order as the comparison does, whether the heads decide or the texts
// are long enough to tie on them.
TEST_P(Collate, KeysOrderAsTheComparison) {
  const CollateCase& c = GetParam();
  const std::string tail(60, 'x');
  for (const std::string& prefix : {std::string(), std::string(40, 'q') + " "}) {
    const std::string a = prefix + c.a + tail;
    const std::string b = prefix + c.b + tail;
    EXPECT_EQ(Sign(CompareCollated(CollationKeyOf(a), a, CollationKeyOf(b), b)),
              Sign(CollateCompare(a, b)));
    EXPECT_EQ(Sign(CompareCollated(CollationKeyOf(c.a), c.a, CollationKeyOf(c.b), c.b)),
              c.expected);
  }
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

// Which environment variable picks the collation. Swedish sorts "ö" after
// "z", German and the root collation sort it with "o"; the C locale orders
// "alpha" before "Beta", ignoring letter case like every other.
struct LocaleCase {
  const char* name;
  const char* lcAll;  // nullptr: unset
  const char* lcCollate;
  const char* lcMessages;
  const char* lang;
  int oeVersusZ;
};

void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.name; }

class CollationLocale : public testing::TestWithParam<LocaleCase> {
 protected:
  static constexpr const char* kVariables[] = {"LC_ALL", "LC_COLLATE", "LC_MESSAGES", "LANG"};

  void SetUp() override {
    const LocaleCase& c = GetParam();
    const char* values[] = {c.lcAll, c.lcCollate, c.lcMessages, c.lang};
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      const char* saved = std::getenv(kVariables[i]);
      saved_.push_back(saved ? std::optional<std::string>(saved) : std::nullopt);
      Set(kVariables[i], values[i]);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      Set(kVariables[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
  }
  static void Set(const char* name, const char* value) {
    value ? setenv(name, value, 1) : unsetenv(name);
  }

 private:
  std::vector<std::optional<std::string>> saved_;
};

// The collator is made once per thread, from the environment of that moment.
TEST_P(CollationLocale, PicksTheCollationLocale) {
  int oeVersusZ = 0, alphaVersusBeta = 0;
  std::thread([&] {
    oeVersusZ = Sign(CollateCompare("\xc3\xb6l", "zebra"));
    alphaVersusBeta = Sign(CollateCompare("alpha", "Beta"));
  }).join();
  EXPECT_EQ(oeVersusZ, GetParam().oeVersusZ);
  EXPECT_EQ(alphaVersusBeta, -1);
}

constexpr const char* kSv = "sv_SE.UTF-8";
constexpr const char* kDe = "de_DE.UTF-8";

INSTANTIATE_TEST_SUITE_P(
    Environment, CollationLocale,
    testing::Values(LocaleCase{"LangAlone", nullptr, nullptr, nullptr, kSv, 1},
                    LocaleCase{"LcCollateOverLang", nullptr, kSv, nullptr, kDe, 1},
                    LocaleCase{"LcCollateOverLangBack", nullptr, kDe, nullptr, kSv, -1},
                    LocaleCase{"LcAllOverBoth", kDe, kSv, nullptr, kSv, -1},
                    LocaleCase{"LcAllOverBothBack", kSv, kDe, nullptr, kDe, 1},
                    LocaleCase{"LcMessagesIgnored", nullptr, nullptr, kSv, kDe, -1},
                    LocaleCase{"CIsRoot", nullptr, "C", nullptr, kSv, -1},
                    LocaleCase{"CUtf8IsRoot", "C.UTF-8", nullptr, nullptr, kSv, -1},
                    LocaleCase{"PosixIsRoot", nullptr, "POSIX", nullptr, kSv, -1}),
    [](const testing::TestParamInfo<LocaleCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

TEST(CollationOrder, TiesGoByBytesOrByPlace) {
  const std::vector<std::string_view> texts{"b", "B", "a", "b", "A"};
  EXPECT_EQ(CollationOrder(texts, TCollationTies::Place), (std::vector<std::uint32_t>{2, 4, 0, 1, 3}));
  EXPECT_EQ(CollationOrder(texts, TCollationTies::Bytes), (std::vector<std::uint32_t>{4, 2, 1, 0, 3}));
  const std::vector<std::string_view> inOrder{"a", "A", "b"};
  EXPECT_EQ(CollationOrder(inOrder, TCollationTies::Place), (std::vector<std::uint32_t>{0, 1, 2}));
}

TEST(CollationOrder, PlaceTiesSortStablyAsThePlainComparison) {
  std::vector<std::string> owned;
  for (int i = 0; i < 300; ++i) {
    owned.push_back((i % 2 ? "Caf\xc3\xa9 " : "CAFE ") + std::to_string(i % 30));
  }
  std::shuffle(owned.begin(), owned.end(), std::mt19937(5));
  const std::vector<std::string_view> texts(owned.begin(), owned.end());
  std::vector<std::uint32_t> expected(texts.size());
  std::iota(expected.begin(), expected.end(), 0u);
  std::stable_sort(expected.begin(), expected.end(), [&](std::uint32_t a, std::uint32_t b) {
    return CollateCompare(texts[a], texts[b]) < 0;
  });
  EXPECT_EQ(CollationOrder(texts, TCollationTies::Place), expected);
}

}  // namespace
