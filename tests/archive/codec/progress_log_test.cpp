// Progress reports, the abort through a progress callback, and the log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "archive/codec/codec_errors.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

std::string Packed(const std::string& input) {
  TMemoryStream source(input);
  TMemoryStream dest;
  Deflate(source, dest, nullptr);
  return dest.TakeBytes();
}

void ExpectRising(const std::vector<int>& reports, int last) {
  ASSERT_FALSE(reports.empty());
  for (std::size_t i = 1; i < reports.size(); ++i) EXPECT_LE(reports[i - 1], reports[i]);
  EXPECT_EQ(reports.back(), last);
}

TEST(ProgressTest, InflateReportsThroughTheWholeSource) {
  const std::string packed = Packed(RandomBytes(100000, 3));  // stored blocks: ~100 KB
  TMemoryStream source(packed);
  TMemoryStream dest;
  std::vector<int> reports;
  TPlDeflateHelper h;
  h.InputSize = -1;  // take the source's size
  h.ProgressCallback = [&reports](int percent) { reports.push_back(percent); };
  Inflate(source, dest, &h);
  EXPECT_GE(reports.size(), 6u);  // one per 16 KiB read
  ExpectRising(reports, 100);
}

TEST(ProgressTest, DeflateReportsEvery4096Bytes) {
  const std::string input = TextSample(100000, 8);
  TMemoryStream source(input);
  TMemoryStream dest;
  std::vector<int> reports;
  TPlDeflateHelper h;
  h.InputSize = -1;
  h.ProgressCallback = [&reports](int percent) { reports.push_back(percent); };
  Deflate(source, dest, &h);
  EXPECT_EQ(reports.size(), 100000u / 4096);
  ExpectRising(reports, 98);  // 98,304 of 100,000 bytes
}

TEST(ProgressTest, StoredModeReportsEachPiece) {
  TMemoryStream source(RandomBytes(65535 * 2 + 1, 2));
  TMemoryStream dest;
  std::vector<int> reports;
  TPlDeflateHelper h;
  h.SetLevelLetter('0');
  h.InputSize = -1;
  h.ProgressCallback = [&reports](int percent) { reports.push_back(percent); };
  Deflate(source, dest, &h);
  EXPECT_EQ(reports, (std::vector<int>{50, 100, 100}));
}

TEST(ProgressTest, WithoutCallbackNothingIsReportedAndInputSizeIsIgnored) {
  const std::string input = TextSample(5000, 8);
  TMemoryStream source(input);
  TMemoryStream dest;
  TPlDeflateHelper h;
  h.InputSize = 1;  // would be wrong for stored mode if it were used
  h.SetLevelLetter('0');
  Deflate(source, dest, &h);
  EXPECT_EQ(h.ConsumedSize, 5000);
}

TEST(ProgressTest, AbortFromTheCallbackEndsInflateQuietly) {
  const std::string packed = Packed(RandomBytes(100000, 3));
  TMemoryStream source(packed);
  TMemoryStream dest;
  TPlDeflateHelper h;
  h.InputSize = -1;
  h.ProgressCallback = [](int percent) {
    if (percent > 30) throw EPlAbortProgress();
  };
  EXPECT_EQ(Inflate(source, dest, &h), 0u);
  EXPECT_LT(dest.Size(), 100000);
}

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("vornix-codec-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::path dir_;
};

TEST_F(LogFileTest, BothDirectionsWriteTheirHeading) {
  TPlDeflateHelper h;
  h.LogFileName = (dir_ / "deflate.log").string();
  TMemoryStream source("some text");
  TMemoryStream packed;
  Deflate(source, packed, &h);
  EXPECT_EQ(Read(dir_ / "deflate.log"),
            "DEFLATING STREAM...\r\nNeed to recompile the app with UseLogging turned on\r\n");

  h.LogFileName = (dir_ / "inflate.log").string();
  packed.SetPosition(0);
  TMemoryStream out;
  Inflate(packed, out, &h);
  EXPECT_EQ(out.Bytes(), "some text");
  EXPECT_EQ(Read(dir_ / "inflate.log"),
            "INFLATING STREAM...\r\nNeed to recompile the app with UseLogging turned on\r\n");
}

}  // namespace
