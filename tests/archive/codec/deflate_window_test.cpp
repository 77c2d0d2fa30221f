// The encoder's search at the edge of its window and the settings it hands
// to the codec core.
#include <gtest/gtest.h>

#include <string>

#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

struct WindowCase {
  bool deflate64;
  std::size_t window;
};

class DeflateWindowEdgeTest : public ::testing::TestWithParam<WindowCase> {};

// Random bytes repeated exactly one window later: every match of the copy
// lies at the largest distance the window allows, the one position whose
// hash entries the current position has just replaced.
TEST_P(DeflateWindowEdgeTest, RepeatExactlyOneWindowBackIsFound) {
  const WindowCase& c = GetParam();
  const std::string half = RandomBytes(c.window, 3);
  const std::string input = half + half;
  TMemoryStream source(input);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetLevelLetter('0');
  helper.SetLevelLetter('n');
  if (c.deflate64) {
    helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
    helper.WindowBytes = static_cast<std::uint32_t>(c.window);
  }
  const std::uint32_t crc = Deflate(source, dest, &helper);
  // The copy costs a few bytes per match instead of its own size.
  EXPECT_LT(dest.Size(), static_cast<std::int64_t>(c.window + c.window / 8));
  TMemoryStream packed(dest.Bytes());
  TMemoryStream back;
  TPlDeflateHelper inflateHelper;
  inflateHelper.SetOptions(helper.Options());
  EXPECT_EQ(Inflate(packed, back, &inflateHelper), crc);
  EXPECT_TRUE(back.Bytes() == input);
}

INSTANTIATE_TEST_SUITE_P(Variants, DeflateWindowEdgeTest,
                         ::testing::Values(WindowCase{false, 32768}, WindowCase{true, 65536}));

TEST(CodecCallTest, CarriesTheRecordsTuningAndTheNormalLevelsDeeperSearch) {
  TPlDeflateHelper h;
  h.SetLevelLetter('x');
  h.ProgressCallback = [](int) {};
  TCodecCall call = h.CodecCall(1000);
  EXPECT_EQ(call.tuning, (TDeflateTuning{64, 4096, 258}));
  EXPECT_FALSE(call.deeperTextSearch);
  EXPECT_EQ(call.inputSize, 1000);
  h.SetLevelLetter('n');
  EXPECT_TRUE(h.CodecCall(0).deeperTextSearch);
  h.SetChainLimit(-1);  // custom: no doubling, unlimited stays
  call = h.CodecCall(0);
  EXPECT_FALSE(call.deeperTextSearch);
  EXPECT_EQ(call.tuning.chainLimit, deflate_tuning::kUnlimited);
  h.ProgressCallback = nullptr;
  EXPECT_EQ(h.CodecCall(1000).inputSize, 0);  // no reports without a callback
}

}  // namespace
