// The output limit stops decoding once that many bytes are produced: the
// destination receives exactly the limit, the result is 0 and OutputSize
// equals the limit so that the caller can tell.
#include <gtest/gtest.h>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

struct LimitCase {
  std::size_t size;
  std::int32_t limit;
};

class InflateLimitTest : public ::testing::TestWithParam<LimitCase> {
 protected:
  static std::string Packed(const std::string& input) {
    TMemoryStream source(input);
    TMemoryStream dest;
    Deflate(source, dest, nullptr);
    return dest.TakeBytes();
  }
};

TEST_P(InflateLimitTest, StopsExactlyAtTheLimit) {
  const auto [size, limit] = GetParam();
  const std::string input = TextSample(size, 12);
  TMemoryStream source(Packed(input));
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.OutputLimit = limit;
  std::uint32_t crc = Inflate(source, dest, &helper);
  if (static_cast<std::size_t>(limit) > size) {
    EXPECT_EQ(crc, Crc32(input.data(), input.size()));
    EXPECT_EQ(dest.Bytes(), input);
    EXPECT_EQ(helper.OutputSize, static_cast<std::int32_t>(size));
  } else {
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(dest.Bytes(), input.substr(0, static_cast<std::size_t>(limit)));
    EXPECT_EQ(helper.OutputSize, limit);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, InflateLimitTest,
                         ::testing::Values(LimitCase{100, 1}, LimitCase{100, 99},
                                           LimitCase{100, 100}, LimitCase{100, 101},
                                           LimitCase{70000, 32768}, LimitCase{70000, 65536},
                                           LimitCase{70000, 65537}, LimitCase{200000, 100001},
                                           LimitCase{200000, 199999}, LimitCase{200000, 200001},
                                           LimitCase{1000000, 500000}));

// A stream that claims gigabytes (repeats of one byte) cannot grow memory
// past the limit.
TEST(InflateLimitBombTest, RunawayRepeatsStopAtTheLimit) {
  BitWriter w;
  w.Bits(0, 1).Bits(1, 2).FixedLiteral('x');
  for (int i = 0; i < 100000; ++i) w.FixedLiteral(285).FixedDistance(0);  // 25.8 MB
  w.FixedLiteral(256);
  w.Bits(1, 1).Bits(1, 2).FixedLiteral(256);
  TMemoryStream source(w.Finish());
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.OutputLimit = 1001;
  EXPECT_EQ(Inflate(source, dest, &helper), 0u);
  EXPECT_EQ(dest.Bytes(), std::string(1001, 'x'));
  EXPECT_EQ(helper.OutputSize, 1001);
}

TEST(InflateLimitBombTest, LimitAppliesInTestMode) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2).FixedLiteral('x');
  for (int i = 0; i < 1000; ++i) w.FixedLiteral(285).FixedDistance(0);
  w.FixedLiteral(256);
  TMemoryStream source(w.Finish());
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetOptions(15 | deflate_options::kTestOnly);
  helper.OutputLimit = 5000;
  EXPECT_EQ(Inflate(source, dest, &helper), 0u);
  EXPECT_EQ(dest.Size(), 0);
  EXPECT_EQ(helper.OutputSize, 5000);
}

}  // namespace
