// The decoder writes into a memory stream in place (the stream's buffer is
// its history) and into any other stream through its window: every kind of
// destination gets the same bytes, checksum, sizes and limit, keeps what was
// there before and holds no scratch bytes after a failure.
#include <gtest/gtest.h>

#include <tuple>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"
#include "zlib_oracle.h"

namespace {

// Not a memory stream, so the decoder goes through its window.
class TForwardingStream final : public TStream {
 public:
  explicit TForwardingStream(TMemoryStream& to) : to_(to) {}
  std::size_t Read(void* buffer, std::size_t count) override { return to_.Read(buffer, count); }
  std::size_t Write(const void* buffer, std::size_t count) override {
    return to_.Write(buffer, count);
  }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    return to_.Seek(offset, origin);
  }
  std::int64_t Size() override { return to_.Size(); }

 private:
  TMemoryStream& to_;
};

enum class Dest { Window, Empty, AfterPrefix, Reserved, ReservedTooShort };
constexpr char kPrefix[] = "kept before";

struct TResult {
  std::string bytes;
  std::uint32_t checksum = 0;
  std::int32_t outputSize = -1;
};

// Runs Inflate into the destination; result.bytes is everything it holds.
TResult InflateInto(Dest kind, const std::string& packed, std::size_t expected,
                    std::uint32_t options = 15, std::int32_t limit = 0) {
  TMemoryStream source(packed);
  TMemoryStream memory;
  if (kind == Dest::AfterPrefix || kind == Dest::Window) memory.WriteExact(kPrefix, sizeof kPrefix);
  if (kind == Dest::Reserved) ReserveInflateOutput(memory, expected);
  if (kind == Dest::ReservedTooShort) ReserveInflateOutput(memory, expected / 3);
  TForwardingStream forwarding(memory);
  TStream& dest = kind == Dest::Window ? static_cast<TStream&>(forwarding) : memory;
  TPlDeflateHelper helper;
  helper.SetOptions(options);
  helper.OutputLimit = limit;
  TResult result;
  try {
    result.checksum = Inflate(source, dest, &helper);
    result.outputSize = helper.OutputSize;
  } catch (const EPlInflateError&) {
    result.outputSize = -1;
  }
  result.bytes = memory.Bytes();
  return result;
}

std::string Before(Dest kind) {
  return kind == Dest::AfterPrefix || kind == Dest::Window ? std::string(kPrefix, sizeof kPrefix)
                                                           : std::string();
}

std::string OurDeflate64(const std::string& input) {
  TMemoryStream source(input);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
  Deflate(source, dest, &helper);
  return dest.TakeBytes();
}

enum class Input { Text6, Text1, Stored, Repeats64 };

struct TPacked {
  std::string input, packed;
  std::uint32_t options = 15;
};

// Each input spans several of the decoder's 256 KiB pieces.
TPacked Make(Input kind) {
  switch (kind) {
    case Input::Text6: {
      std::string text = TextSample(1'300'000, 3);
      return {text, ZlibDeflateRaw(text, 6)};
    }
    case Input::Text1: {
      std::string text = TextSample(900'000, 4);
      return {text, ZlibDeflateRaw(text, 1)};
    }
    case Input::Stored: {
      std::string random = RandomBytes(700'000, 5);
      return {random, ZlibDeflateRaw(random, 6)};
    }
    case Input::Repeats64: {
      std::string repeats;
      while (repeats.size() < 800'000) repeats += "0123456789abcdefghij-" + std::to_string(repeats.size() % 7);
      return {repeats, OurDeflate64(repeats), 15 | deflate_options::kDeflate64};
    }
  }
  return {};
}

class InflateDestinationTest : public ::testing::TestWithParam<std::tuple<Dest, Input>> {};

TEST_P(InflateDestinationTest, SameOutputChecksumAndLimitEverywhere) {
  const auto [kind, inputKind] = GetParam();
  const TPacked p = Make(inputKind);
  const TResult whole = InflateInto(kind, p.packed, p.input.size(), p.options);
  ASSERT_EQ(whole.bytes, Before(kind) + p.input);
  EXPECT_EQ(whole.checksum, Crc32(p.input.data(), p.input.size()));
  EXPECT_EQ(whole.outputSize, static_cast<std::int32_t>(p.input.size()));

  // A limit inside a later piece cuts there exactly.
  const auto limit = static_cast<std::int32_t>(p.input.size() * 2 / 3 + 7);
  const TResult cut = InflateInto(kind, p.packed, p.input.size(), p.options, limit);
  EXPECT_EQ(cut.bytes, Before(kind) + p.input.substr(0, static_cast<std::size_t>(limit)));
  EXPECT_EQ(cut.checksum, 0u);
  EXPECT_EQ(cut.outputSize, limit);

  // Cut short, the stream fails; what stays is decoded output, never scratch.
  const TResult broken =
      InflateInto(kind, p.packed.substr(0, p.packed.size() / 2), p.input.size(), p.options);
  EXPECT_EQ(broken.outputSize, -1);
  const std::string expected = Before(kind) + p.input;
  EXPECT_EQ(broken.bytes, expected.substr(0, broken.bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, InflateDestinationTest,
    ::testing::Combine(::testing::Values(Dest::Window, Dest::Empty, Dest::AfterPrefix,
                                         Dest::Reserved, Dest::ReservedTooShort),
                       ::testing::Values(Input::Text6, Input::Text1, Input::Stored,
                                         Input::Repeats64)));

// The bytes already in the destination are not this stream's history.
TEST(InflateDestinationPrefixTest, BackReferenceIntoEarlierBytesIsRejected) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);
  w.FixedLiteral(257);  // length 3
  w.FixedDistance(0);   // distance 1, before the first byte of this stream
  w.FixedLiteral(256);
  const std::string packed = w.Finish();
  for (Dest kind : {Dest::Window, Dest::AfterPrefix}) {
    const TResult r = InflateInto(kind, packed, 3);
    EXPECT_EQ(r.outputSize, -1);
    EXPECT_EQ(r.bytes, Before(kind));
  }
}

}  // namespace
