// zlib as the oracle: our decoder reproduces every stream zlib writes, and
// zlib decodes every stream our encoder writes, with equal CRC-32.
#include <gtest/gtest.h>

#include <tuple>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"
#include "zlib_oracle.h"

std::string ZlibDeflateRaw(const std::string& input, int level, int strategy) {
  z_stream zs{};
  EXPECT_EQ(deflateInit2(&zs, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
  std::string out(deflateBound(&zs, input.size()) + 16, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  zs.avail_in = static_cast<uInt>(input.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

bool ZlibInflateRaw(const std::string& input, std::string& output) {
  z_stream zs{};
  if (inflateInit2(&zs, -15) != Z_OK) return false;
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  zs.avail_in = static_cast<uInt>(input.size());
  output.clear();
  char chunk[65536];
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(chunk);
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_NO_FLUSH);
    output.append(chunk, sizeof chunk - zs.avail_out);
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;
  }
  inflateEnd(&zs);
  return rc == Z_STREAM_END;
}

std::vector<std::size_t> ZlibBlockSizes(const std::string& input) {
  z_stream zs{};
  if (inflateInit2(&zs, -15) != Z_OK) return {};
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  zs.avail_in = static_cast<uInt>(input.size());
  std::vector<std::size_t> sizes;
  std::size_t current = 0;
  char chunk[65536];
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(chunk);
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_BLOCK);  // returns at each block end
    current += sizeof chunk - zs.avail_out;
    if (rc == Z_OK && (zs.data_type & 128) != 0) {  // just after an end-of-block
      sizes.push_back(current);
      current = 0;
    }
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) sizes.clear();
  return sizes;
}

namespace {

enum class Kind { Text, Random, Repetitive, Zeros };

std::string MakeInput(Kind kind, std::size_t size) {
  switch (kind) {
    case Kind::Text:
      return TextSample(size, 7);
    case Kind::Random:
      return RandomBytes(size, 11);
    case Kind::Repetitive: {
      std::string s;
      while (s.size() < size) s += "abcabcabd-0123456789";
      s.resize(size);
      return s;
    }
    case Kind::Zeros:
      return std::string(size, '\0');
  }
  return {};
}

using OracleCase = std::tuple<Kind, std::size_t>;

class ZlibToOursTest : public ::testing::TestWithParam<OracleCase> {};

TEST_P(ZlibToOursTest, InflatesEveryLevelAndFixedStrategy) {
  auto [kind, size] = GetParam();
  const std::string input = MakeInput(kind, size);
  for (int level = 0; level <= 10; ++level) {
    // Level 10 stands for level 9 with fixed Huffman blocks only.
    std::string packed =
        level == 10 ? ZlibDeflateRaw(input, 9, Z_FIXED) : ZlibDeflateRaw(input, level);
    packed += "trailing";  // must stay unread
    TMemoryStream source(packed);
    TMemoryStream dest;
    TPlDeflateHelper helper;
    std::uint32_t crc = Inflate(source, dest, &helper);
    ASSERT_EQ(dest.Bytes(), input) << "level " << level;
    EXPECT_EQ(crc, Crc32(input.data(), input.size()));
    EXPECT_EQ(source.Position(), static_cast<std::int64_t>(packed.size() - 8));
    EXPECT_EQ(helper.ConsumedSize, static_cast<std::int32_t>(packed.size() - 8));
    EXPECT_EQ(helper.OutputSize, static_cast<std::int32_t>(input.size()));
  }
}

class OursToZlibTest : public ::testing::TestWithParam<OracleCase> {};

TEST_P(OursToZlibTest, ZlibInflatesOurOutputAtEveryLevel) {
  auto [kind, size] = GetParam();
  const std::string input = MakeInput(kind, size);
  for (char level : {'n', 'x', 'f', 's', '0', '2'}) {
    TMemoryStream source(input);
    TMemoryStream dest;
    TPlDeflateHelper helper;
    helper.SetLevelLetter(level);
    std::uint32_t crc = Deflate(source, dest, &helper);
    EXPECT_EQ(crc, Crc32(input.data(), input.size())) << level;
    std::string back;
    if (size == 0 && dest.Bytes().empty()) continue;  // stored mode writes nothing for nothing
    ASSERT_TRUE(ZlibInflateRaw(dest.Bytes(), back)) << "level " << level;
    ASSERT_EQ(back, input) << "level " << level;
    // Our decoder agrees too.
    TMemoryStream again(dest.Bytes());
    TMemoryStream out;
    EXPECT_EQ(Inflate(again, out, nullptr), crc);
    EXPECT_EQ(out.Bytes(), input);
  }
}

const auto kSizes = ::testing::Values<std::size_t>(0, 1, 2, 3, 4, 100, 1023, 1024, 1025, 40000,
                                                   65535, 65536, 70000, 300000, 3000000);
const auto kKinds = ::testing::Values(Kind::Text, Kind::Random, Kind::Repetitive, Kind::Zeros);

INSTANTIATE_TEST_SUITE_P(Inputs, ZlibToOursTest, ::testing::Combine(kKinds, kSizes));
INSTANTIATE_TEST_SUITE_P(Inputs, OursToZlibTest, ::testing::Combine(kKinds, kSizes));

}  // namespace
