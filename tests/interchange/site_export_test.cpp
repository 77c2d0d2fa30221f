#include "interchange/site_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "interchange/site_import.h"

namespace interchange {
namespace {

namespace fs = std::filesystem;

// Notes with line breaks, quotes, markup and non-ASCII text; names with a
// slash and a password that looks like a spreadsheet formula.
const std::vector<TSiteFields> kSites = {
    {"Banking/Bank", "joe", "=SUM(A1)", "https://bank.example", "PIN 1234\nspare key"},
    {"Mail", "jo\xC3\xABl", "p\"w<&>", "", "caf\xC3\xA9 \"quoted\", <tag>"},
};

void ExpectSameSites(const TSiteImport& got) {
  ASSERT_EQ(got.sites.size(), kSites.size());
  for (std::size_t i = 0; i < kSites.size(); ++i) {
    EXPECT_EQ(got.sites[i].fields.site, kSites[i].site);
    EXPECT_EQ(got.sites[i].fields.user, kSites[i].user);
    EXPECT_EQ(got.sites[i].fields.password, kSites[i].password);
    EXPECT_EQ(got.sites[i].fields.url, kSites[i].url);
    EXPECT_EQ(got.sites[i].fields.notes, kSites[i].notes);
  }
}

TEST(WriteSites, CsvFormatsReadBackUnchanged) {
  for (TFormat format : {TFormat::Vornix, TFormat::Bitwarden}) {
    SCOPED_TRACE(std::string(FormatName(format)));
    const TSiteImport got = ReadSites(WriteSites(kSites, format));
    EXPECT_EQ(got.format, format);
    ExpectSameSites(got);
  }
  EXPECT_THROW(WriteSites(kSites, TFormat::Firefox), EFormatError);
}

std::string RunWithInput(const std::string& command, const std::string& input) {
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "w");
  if (!pipe) return {};
  std::fwrite(input.data(), 1, input.size(), pipe);
  return ::pclose(pipe) == 0 ? "ok" : "";
}

// Our XML becomes a database of the other keeper, whose CSV export reads
// back as the same sites.
TEST(WriteSites, KeePassXmlSurvivesARoundTripThroughTheOtherKeeper) {
  if (std::system("command -v keepassxc-cli >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "keepassxc-cli is not installed";
  }
  const fs::path dir = fs::temp_directory_path() / ("vornix-kx-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path xml = dir / "in.xml", db = dir / "out.kdbx", csv = dir / "out.csv";
  std::ofstream(xml) << WriteSites(kSites, TFormat::KeePassXml);
  ASSERT_EQ(RunWithInput("keepassxc-cli import -p '" + xml.string() + "' '" + db.string() + "'",
                         "test\ntest\n"),
            "ok");
  ASSERT_EQ(RunWithInput(
                "keepassxc-cli export --format csv '" + db.string() + "' > '" + csv.string() + "'",
                "test\n"),
            "ok");
  std::ifstream in(csv, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fs::remove_all(dir);
  const TSiteImport got = ReadSites(text);
  EXPECT_EQ(got.format, TFormat::KeePassXc);
  ExpectSameSites(got);
}

}  // namespace
}  // namespace interchange
