// Hand-built streams for the decoder's edge cases, one field per call.
#include <gtest/gtest.h>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

std::string InflateBytes(const std::string& packed, std::uint32_t options = 15,
                         std::uint32_t* checksum = nullptr) {
  TMemoryStream source(packed);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetOptions(options);
  std::uint32_t sum = Inflate(source, dest, &helper);
  if (checksum) *checksum = sum;
  return dest.Bytes();
}

TEST(InflateStreamTest, StoredBlockOfLengthZeroIsValid) {
  BitWriter w;
  w.Bits(1, 1);        // BFINAL
  w.Bits(0, 2);        // BTYPE: stored
  w.Align();           // stored data starts on a byte boundary
  w.Bits(0, 16);       // LEN 0
  w.Bits(0xFFFF, 16);  // NLEN 65535
  std::uint32_t crc = 1;
  EXPECT_EQ(InflateBytes(w.Finish(), 15, &crc), "");
  EXPECT_EQ(crc, 0u);
}

TEST(InflateStreamTest, FixedEmptyBlockGivesCrcOfNothing) {
  BitWriter w;
  w.Bits(1, 1);         // BFINAL
  w.Bits(1, 2);         // BTYPE: fixed Huffman
  w.FixedLiteral(256);  // end of block
  std::uint32_t crc = 1;
  EXPECT_EQ(InflateBytes(w.Finish(), 15, &crc), "");
  EXPECT_EQ(crc, 0u);
}

TEST(InflateStreamTest, DistanceOneLength258RepeatsTheByte) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);  // final fixed block
  w.FixedLiteral('z');
  w.FixedLiteral(285);  // length 258, no extra bits in Deflate
  w.FixedDistance(0);   // distance 1
  w.FixedLiteral(256);
  std::uint32_t crc = 0;
  std::string out = InflateBytes(w.Finish(), 15, &crc);
  EXPECT_EQ(out, std::string(259, 'z'));
  EXPECT_EQ(crc, Crc32(out.data(), out.size()));
}

TEST(InflateStreamTest, Symbol285ReadsSixteenExtraBitsInDeflate64) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);
  w.FixedLiteral('q');
  w.FixedLiteral(285);
  w.Bits(1000 - 3, 16);  // Deflate64: length = 3 + 16-bit extra
  w.FixedDistance(0);    // distance 1
  w.FixedLiteral(256);
  EXPECT_EQ(InflateBytes(w.Finish(), 15 | 0x10), std::string(1001, 'q'));
}

TEST(InflateStreamTest, LongestDeflate64MatchAcrossFlushes) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);
  w.FixedLiteral('q');
  for (int i = 0; i < 3; ++i) {
    w.FixedLiteral(285);
    w.Bits(0xFFFF, 16);  // length 65,538
    w.FixedDistance(0);
  }
  w.FixedLiteral(256);
  EXPECT_EQ(InflateBytes(w.Finish(), 15 | 0x10), std::string(1 + 3 * 65538, 'q'));
}

// Distance symbols 30 and 31 reach 32,769..65,536 bytes back in Deflate64.
TEST(InflateStreamTest, Deflate64DistanceSymbols30And31) {
  const std::string history = RandomBytes(60000, 5);
  BitWriter w;
  for (std::size_t at = 0; at < history.size(); at += 30000) {
    w.Bits(0, 1).Bits(0, 2).Align();  // stored, not final
    w.Bits(30000, 16).Bits(~30000u & 0xFFFF, 16);
    w.Bytes(history.substr(at, 30000));
  }
  w.Bits(1, 1).Bits(1, 2);
  w.FixedLiteral(258).FixedDistance(30).Bits(0, 14);      // length 4, distance 32,769
  w.FixedLiteral(258).FixedDistance(31).Bits(10000, 14);  // length 4, distance 59,153
  w.FixedLiteral(256);
  std::string out = InflateBytes(w.Finish(), 15 | 0x10);
  ASSERT_EQ(out.size(), 60008u);
  EXPECT_EQ(out.substr(60000, 4), history.substr(60000 - 32769, 4));
  EXPECT_EQ(out.substr(60004, 4), out.substr(60004 - 59153, 4));
}

TEST(InflateStreamTest, FarBackReferencesAcrossFlushedPieces) {
  // 100,000 bytes of stored history, then matches 32,768 bytes back.
  const std::string history = RandomBytes(100000, 9);
  BitWriter w;
  for (std::size_t at = 0; at < history.size(); at += 50000) {
    w.Bits(0, 1).Bits(0, 2).Align();
    w.Bits(50000, 16).Bits(~50000u & 0xFFFF, 16);
    w.Bytes(history.substr(at, 50000));
  }
  w.Bits(1, 1).Bits(1, 2);
  for (int i = 0; i < 200; ++i) {
    w.FixedLiteral(284).Bits(31, 5);     // length 227 + 31 = 258
    w.FixedDistance(29).Bits(8191, 13);  // distance 24,577 + 8,191 = 32,768
  }
  w.FixedLiteral(256);
  std::string out = InflateBytes(w.Finish());
  ASSERT_EQ(out.size(), 100000u + 200 * 258);
  for (std::size_t i = 100000; i < out.size(); ++i) ASSERT_EQ(out[i], out[i - 32768]) << i;
}

TEST(InflateStreamTest, SourceIsLeftRightAfterTheCompressedData) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2).FixedLiteral('a').FixedLiteral(256);
  const std::string packed = w.Finish();
  const std::string after(40000, 'T');  // far more than the decoder reads ahead
  TMemoryStream source("prefix" + packed + after);
  source.SetPosition(6);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  Inflate(source, dest, &helper);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(6 + packed.size()));
  EXPECT_EQ(helper.ConsumedSize, static_cast<std::int32_t>(packed.size()));
  EXPECT_EQ(helper.OutputSize, 1);
}

TEST(InflateStreamTest, OutputIsAppendedAtTheDestinationPosition) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2).FixedLiteral('x').FixedLiteral(256);
  TMemoryStream source(w.Finish());
  TMemoryStream dest("abc");
  dest.SetPosition(3);
  Inflate(source, dest, nullptr);
  EXPECT_EQ(dest.Bytes(), "abcx");
}

TEST(InflateStreamTest, TestModeCountsWithoutWriting) {
  const std::string input = TextSample(200000, 4);
  TMemoryStream plain(input);
  TMemoryStream packed;
  Deflate(plain, packed, nullptr);
  packed.SetPosition(0);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetOptions(15 | deflate_options::kTestOnly);
  EXPECT_EQ(Inflate(packed, dest, &helper), Crc32(input.data(), input.size()));
  EXPECT_EQ(dest.Size(), 0);
  EXPECT_EQ(helper.OutputSize, 200000);
}

TEST(InflateStreamTest, Adler32OptionMatchesZlibAdler) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2).FixedLiteral('W').FixedLiteral('i').FixedLiteral('k').FixedLiteral('i');
  w.FixedLiteral(256);
  std::uint32_t sum = 0;
  EXPECT_EQ(InflateBytes(w.Finish(), 15 | deflate_options::kAdler32, &sum), "Wiki");
  EXPECT_EQ(sum, 0x03DA0195u);  // Adler-32 of "Wiki"
}

TEST(InflateStreamTest, DynamicBlockWithOneDistanceCode) {
  // A dynamic block written by hand: literals 'a' and 'b', end of block,
  // one length symbol 257 and one distance code of length 1 (HDIST 0).
  BitWriter w;
  w.Bits(1, 1).Bits(2, 2);  // final, dynamic
  w.Bits(1, 5);             // HLIT: 258 codes
  w.Bits(0, 5);             // HDIST: 1 code
  w.Bits(15, 4);            // HCLEN: all 19 code-length codes
  // Code-length code: symbols 0, 2 and 18 get 2 bits, symbol 1 gets 2 bits.
  const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  for (int sym : order) w.Bits((sym == 0 || sym == 1 || sym == 2 || sym == 18) ? 2 : 0, 3);
  // Canonical 2-bit codes in symbol order: 0->00, 1->01, 2->10, 18->11.
  auto len1 = [&] { w.Code(1, 2); };
  auto len2 = [&] { w.Code(2, 2); };
  auto zeros = [&](int n) { w.Code(3, 2).Bits(static_cast<std::uint32_t>(n - 11), 7); };
  zeros(97);   // 0..96 unused
  len2();      // 'a' (97): 2 bits
  len2();      // 'b' (98): 2 bits
  zeros(138);  // 99..236
  zeros(19);   // 237..255
  len2();      // 256: 2 bits
  len2();      // 257: 2 bits
  len1();      // distance 0: 1 bit
  // Literal codes: a=00, b=01, 256=10, 257=11; distance 0 = 0.
  w.Code(0, 2).Code(1, 2);  // "ab"
  w.Code(3, 2).Code(0, 1);  // length 3, distance 1
  w.Code(2, 2);             // end of block
  EXPECT_EQ(InflateBytes(w.Finish()), "abbbb");
}

}  // namespace
