// The decoder writes into a memory stream in place (its buffer is the
// history) and into any other stream through its window: each destination
// gets the same bytes, checksum and limit cut, keeps what it held before and
// holds no scratch bytes after a failure.
#include <gtest/gtest.h>

#include <tuple>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"
#include "zlib_oracle.h"

namespace {

// Not a memory stream, so the decoder goes through its window.
struct TForwardingStream final : TStream {
  explicit TForwardingStream(TMemoryStream& to) : to(to) {}
  std::size_t Read(void* b, std::size_t n) override { return to.Read(b, n); }
  std::size_t Write(const void* b, std::size_t n) override { return to.Write(b, n); }
  std::int64_t Seek(std::int64_t o, SeekOrigin from) override { return to.Seek(o, from); }
  std::int64_t Size() override { return to.Size(); }
  TMemoryStream& to;
};

enum class Dest { Window, Empty, AfterPrefix, Reserved, ReservedTooShort };
const std::string kPrefix = "kept before";

std::string Before(Dest d) { return d == Dest::Window || d == Dest::AfterPrefix ? kPrefix : ""; }

// Everything the destination holds afterwards; ok false when Inflate threw.
std::string InflateInto(Dest d, const std::string& packed, std::size_t expected, bool& ok,
                        std::uint32_t& crc, std::int32_t limit = 0, std::uint32_t options = 15) {
  TMemoryStream source(packed), memory(Before(d));
  memory.Seek(0, SeekOrigin::End);
  if (d == Dest::Reserved || d == Dest::ReservedTooShort)
    ReserveInflateOutput(memory, d == Dest::Reserved ? expected : expected / 3);
  TForwardingStream forwarding(memory);
  TPlDeflateHelper helper;
  helper.SetOptions(options);
  helper.OutputLimit = limit;
  ok = true;
  try {
    crc = Inflate(source, d == Dest::Window ? static_cast<TStream&>(forwarding) : memory, &helper);
  } catch (const EPlInflateError&) {
    ok = false;
  }
  return memory.Bytes();
}

class InflateDestinationTest : public ::testing::TestWithParam<std::tuple<Dest, int>> {};

TEST_P(InflateDestinationTest, SameOutputChecksumAndLimitEverywhere) {
  const auto [d, kind] = GetParam();
  // Each spans several of the decoder's 256 KiB pieces: text, stored blocks,
  // and Deflate64 repeats (copies longer than 258 bytes).
  const std::string input = kind == 0 ? TextSample(1'300'000, 3)
                            : kind == 1 ? RandomBytes(700'000, 5)
                                        : std::string(600'000, 'r') + TextSample(9'000, 4);
  std::string packed = kind < 2 ? ZlibDeflateRaw(input, 6) : "";
  const std::uint32_t options = kind < 2 ? 15 : 15 | deflate_options::kDeflate64;
  if (kind == 2) {
    TMemoryStream source(input), dest;
    TPlDeflateHelper helper;
    helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
    Deflate(source, dest, &helper);
    packed = dest.TakeBytes();
  }
  bool ok = false;
  std::uint32_t crc = 0;
  EXPECT_EQ(InflateInto(d, packed, input.size(), ok, crc, 0, options), Before(d) + input);
  EXPECT_TRUE(ok);
  EXPECT_EQ(crc, Crc32(input.data(), input.size()));

  const auto limit = static_cast<std::int32_t>(input.size() * 2 / 3 + 7);
  EXPECT_EQ(InflateInto(d, packed, input.size(), ok, crc, limit, options),
            Before(d) + input.substr(0, static_cast<std::size_t>(limit)));
  EXPECT_EQ(crc, 0u);

  const std::string kept =
      InflateInto(d, packed.substr(0, packed.size() / 2), input.size(), ok, crc, 0, options);
  EXPECT_FALSE(ok);
  EXPECT_EQ(kept, (Before(d) + input).substr(0, kept.size()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, InflateDestinationTest,
                         ::testing::Combine(::testing::Values(Dest::Window, Dest::Empty,
                                                              Dest::AfterPrefix, Dest::Reserved,
                                                              Dest::ReservedTooShort),
                                            ::testing::Values(0, 1, 2)));

// The bytes already in the destination are not this stream's history.
TEST(InflateDestinationPrefixTest, BackReferenceIntoEarlierBytesIsRejected) {
  BitWriter w;
  // Length 3 at distance 1, before the first byte of this stream.
  w.Bits(1, 1).Bits(1, 2).FixedLiteral(257).FixedDistance(0).FixedLiteral(256);
  const std::string packed = w.Finish();
  for (Dest d : {Dest::Window, Dest::AfterPrefix}) {
    bool ok = true;
    std::uint32_t crc = 0;
    EXPECT_EQ(InflateInto(d, packed, 3, ok, crc), kPrefix);
    EXPECT_FALSE(ok);
  }
}

}  // namespace
