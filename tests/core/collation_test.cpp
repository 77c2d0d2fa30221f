#include "core/collation.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
// "z", German and the root collation sort it with "o"; the C locale ignores
// letter case like every other.
class CollationLocale : public testing::Test {
 protected:
  static constexpr const char* kVariables[] = {"LC_ALL", "LC_COLLATE", "LC_MESSAGES", "LANG"};

  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
  }

  // The collator is made once per thread, so each compare needs a new one.
  static int CompareInNewThread(const std::string& a, const std::string& b) {
    int result = 0;
    std::thread([&] { result = Sign(CollateCompare(a, b)); }).join();
    return result;
  }
  static int OeVersusZ() { return CompareInNewThread("\xc3\xb6l", "zebra"); }

 private:
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(CollationLocale, LcCollateOverLang) {
  setenv("LANG", "de_DE.UTF-8", 1);
  setenv("LC_COLLATE", "sv_SE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), 1);
  setenv("LANG", "sv_SE.UTF-8", 1);
  setenv("LC_COLLATE", "de_DE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), -1);
}

TEST_F(CollationLocale, LcAllOverBoth) {
  setenv("LANG", "sv_SE.UTF-8", 1);
  setenv("LC_COLLATE", "sv_SE.UTF-8", 1);
  setenv("LC_ALL", "de_DE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), -1);
  setenv("LC_ALL", "sv_SE.UTF-8", 1);
  setenv("LC_COLLATE", "de_DE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), 1);
}

TEST_F(CollationLocale, LangAloneAndMessagesIgnored) {
  setenv("LANG", "sv_SE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  setenv("LC_MESSAGES", "sv_SE.UTF-8", 1);
  EXPECT_EQ(OeVersusZ(), -1);
}

TEST_F(CollationLocale, PosixLocaleIgnoresCase) {
  setenv("LANG", "sv_SE.UTF-8", 1);
  for (const char* posix : {"C", "C.UTF-8", "POSIX"}) {
    setenv("LC_COLLATE", posix, 1);
    EXPECT_EQ(CompareInNewThread("alpha", "Beta"), -1) << posix;
    EXPECT_EQ(OeVersusZ(), -1) << posix;
  }
}

}  // namespace
