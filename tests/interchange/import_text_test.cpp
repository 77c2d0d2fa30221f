#include "interchange/import_text.h"

#include <gtest/gtest.h>

#include "interchange/site_formats.h"

namespace interchange {
namespace {

struct TextCase {
  const char* name;
  std::string bytes;
  bool mayBeCp1252;
  std::string text;  // expected UTF-8; empty with line > 0: refused
  int line = 0;      // where the refusal points
  bool noticed = false;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ImportTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ImportTextTest, TakesUtf8ReadsWindows1252OrNamesTheLine) {
  const TextCase& c = GetParam();
  if (c.line > 0) {
    try {
      ImportText(c.bytes, c.mayBeCp1252);
      FAIL() << "taken: " << c.bytes;
    } catch (const EFormatError& e) {
      EXPECT_EQ(e.Line(), c.line);
    }
    return;
  }
  const TImportText got = ImportText(c.bytes, c.mayBeCp1252);
  EXPECT_EQ(got.text, c.text);
  EXPECT_EQ(!got.notice.empty(), c.noticed);
  // UTF-8 is read where it lies: a large file is not copied.
  const std::string_view bytes(c.bytes);
  if (!c.noticed) {
    EXPECT_TRUE(got.text.data() >= bytes.data() && got.text.data() <= bytes.data() + bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, ImportTextTest,
    ::testing::Values(
        TextCase{"Utf8WithBom", "\xEF\xBB\xBFz\xC3\xBC", true, "z\xC3\xBC"},
        TextCase{"Cp1252Throughout", "a\n\xE9\x80", true, "a\n\xC3\xA9\xE2\x82\xAC", 0, true},
        TextCase{"Cp1252NotAllowed", "a\n\xE9", false, "", 2},
        TextCase{"MixedWithUtf8", "\xC3\xA9\nb\n\xE9", true, "", 3},
        TextCase{"LoneContinuation", "\xC3\xA9\n\x80", true, "", 2},
        TextCase{"Surrogate", "\xC3\xA9\xED\xA0\x80", true, "", 1},
        TextCase{"Overlong", "\xC3\xA9\xC0\xAF", true, "", 1},
        TextCase{"Utf16Bom", "\xFF\xFEs\0", true, "", 1},
        TextCase{"UndefinedInCp1252", "a\n\x81", true, "", 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace interchange
