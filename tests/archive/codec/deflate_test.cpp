// Encoder behaviour visible in its output: block kinds, stored splitting,
// the matcher's rules, the level-n doubling, errors and encryption.
#include <gtest/gtest.h>

#include <set>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/deflate_block_writer.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"
#include "zlib_oracle.h"

namespace {

std::string DeflateWith(const std::string& input, TPlDeflateHelper helper) {
  TMemoryStream source(input);
  TMemoryStream dest;
  std::uint32_t crc = Deflate(source, dest, &helper);
  EXPECT_EQ(crc,
            helper.Options() & deflate_options::kAdler32 ? crc : Crc32(input.data(), input.size()));
  EXPECT_EQ(helper.OutputSize, static_cast<std::int32_t>(dest.Size()));
  EXPECT_EQ(helper.ConsumedSize, static_cast<std::int32_t>(input.size()));
  return dest.TakeBytes();
}

TPlDeflateHelper Level(char letter) {
  TPlDeflateHelper h;
  h.SetLevelLetter('0');
  h.SetLevelLetter(letter);
  return h;
}

std::string RoundTrip(const std::string& packed, std::uint32_t options = 15) {
  TMemoryStream source(packed);
  TMemoryStream dest;
  TPlDeflateHelper h;
  h.SetOptions(options);
  Inflate(source, dest, &h);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(packed.size()));
  return dest.TakeBytes();
}

TEST(DeflateOutputTest, EmptyInputIsAFixedEmptyBlock) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2).FixedLiteral(256);
  EXPECT_EQ(DeflateWith("", Level('n')), w.Finish());
}

TEST(DeflateOutputTest, OneAndTwoBytesAreLiteralsInOneFinalBlock) {
  BitWriter one;
  one.Bits(1, 1).Bits(1, 2).FixedLiteral('A').FixedLiteral(256);
  EXPECT_EQ(DeflateWith("A", Level('n')), one.Finish());
  BitWriter two;
  two.Bits(1, 1).Bits(1, 2).FixedLiteral('A').FixedLiteral(200).FixedLiteral(256);
  EXPECT_EQ(DeflateWith(std::string("A\xC8", 2), Level('n')), two.Finish());
}

TEST(DeflateOutputTest, RunOfOneByteIsLiteralAndDistanceOneMatch) {
  BitWriter w;
  w.Bits(1, 1).Bits(1, 2);
  w.FixedLiteral('a');
  w.FixedLiteral(265).Bits(0, 1);  // length 11 + 0 = 11
  w.FixedDistance(0);              // distance 1
  w.FixedLiteral(256);
  EXPECT_EQ(DeflateWith(std::string(12, 'a'), Level('n')), w.Finish());
}

// An input with no repeated three bytes except where the test puts them.
std::string UniqueTriples(std::size_t size, unsigned seed) {
  std::string out = RandomBytes(size, seed);
  std::set<std::string> seen;
  for (std::size_t i = 0; i + 3 <= out.size(); ++i) {
    while (seen.count(out.substr(i, 3)) != 0 || out[i + 2] == 'x')
      out[i + 2] = static_cast<char>(out[i + 2] + 1);
    seen.insert(out.substr(i, 3));
  }
  return out;
}

// Items of one final fixed-Huffman block: (length, distance), length 0
// for a literal.
std::vector<std::pair<int, int>> FixedItems(const std::string& packed) {
  std::size_t bit = 0;
  auto take = [&](int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++bit)
      v |= static_cast<std::uint32_t>(
               (static_cast<unsigned char>(packed.at(bit / 8)) >> (bit % 8)) & 1)
           << i;
    return v;
  };
  auto code = [&](int n, std::uint32_t start) {  // Huffman codes arrive MSB first
    std::uint32_t v = start;
    for (int i = 0; i < n; ++i) v = (v << 1) | take(1);
    return v;
  };
  EXPECT_EQ(take(3), 3u);  // final, fixed
  std::vector<std::pair<int, int>> items;
  for (;;) {
    std::uint32_t c = code(7, 0);
    int sym;
    if (c < 0x18) {
      sym = static_cast<int>(c) + 256;
    } else {
      c = code(1, c);
      if (c >= 0x30 && c < 0xC0)
        sym = static_cast<int>(c - 0x30);
      else if (c >= 0xC0 && c < 0xC8)
        sym = static_cast<int>(c - 0xC0 + 280);
      else
        sym = static_cast<int>(code(1, c) - 0x190 + 144);
    }
    if (sym == 256) return items;
    if (sym < 256) {
      items.emplace_back(0, sym);
      continue;
    }
    static const int kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    int length = kBase[sym - 257] + static_cast<int>(take(kExtra[sym - 257]));
    int ds = static_cast<int>(code(5, 0));
    int extra = ds < 4 ? 0 : ds / 2 - 1;
    int base = ds < 4 ? ds + 1 : (1 << (extra + 1)) + 1 + (ds % 2) * (1 << extra);
    items.emplace_back(length, base + static_cast<int>(take(extra)));
  }
}

TEST(DeflateOutputTest, LengthThreeMatchFarBackIsNotUsed) {
  const std::string middle = UniqueTriples(6000, 2);
  for (int distance : {4000, 4096, 4097, 5000}) {
    std::string input = "xyz" + middle.substr(0, static_cast<std::size_t>(distance) - 3) + "xyz";
    TPlDeflateHelper fixedOnly = Level('n');
    fixedOnly.SetOptions(deflate_options::kFixed | deflate_options::kLazy);
    std::string packed = DeflateWith(input, fixedOnly);
    ASSERT_EQ(RoundTrip(packed), input);
    auto items = FixedItems(packed);
    ASSERT_FALSE(items.empty());
    if (distance <= 4096) {
      EXPECT_EQ(items.back(), std::make_pair(3, distance));
    } else {
      for (const auto& item : items) EXPECT_FALSE(item.first == 3 && item.second > 4096);
      EXPECT_EQ(items.back(), std::make_pair(0, static_cast<int>('z')));
    }
  }
}

// Stored blocks parsed back: sizes and BFINAL flags.
std::vector<std::pair<bool, std::size_t>> StoredPieces(const std::string& packed) {
  std::vector<std::pair<bool, std::size_t>> pieces;
  std::size_t at = 0;
  while (at < packed.size()) {
    auto header = static_cast<unsigned char>(packed[at]);
    EXPECT_EQ(header & 6, 0) << "not a stored block";
    std::size_t len = static_cast<unsigned char>(packed[at + 1]) |
                      static_cast<unsigned char>(packed[at + 2]) << 8;
    pieces.emplace_back((header & 1) != 0, len);
    at += 5 + len;
  }
  return pieces;
}

TEST(DeflateStoredTest, StoredModeSplitsAt65535WithFinalOnTheLastPiece) {
  const std::string input = RandomBytes(65535 * 2 + 10, 8);
  std::string packed = DeflateWith(input, Level('0'));
  auto pieces = StoredPieces(packed);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], std::make_pair(false, std::size_t{65535}));
  EXPECT_EQ(pieces[1], std::make_pair(false, std::size_t{65535}));
  EXPECT_EQ(pieces[2], std::make_pair(true, std::size_t{10}));
  EXPECT_EQ(RoundTrip(packed), input);
  EXPECT_EQ(DeflateWith("", Level('0')), "");  // stored mode writes nothing for nothing
}

TEST(DeflateStoredTest, ExactMultipleHasNoEmptyTail) {
  auto pieces = StoredPieces(DeflateWith(RandomBytes(65535, 4), Level('0')));
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0], std::make_pair(true, std::size_t{65535}));
}

TEST(DeflateStoredTest, WriteStoredSplitsLargeBlocks) {
  const std::string data = RandomBytes(140000, 6);
  for (bool final : {false, true}) {
    TMemoryStream dest;
    {
      TPlDfOutBitStream out(dest);
      WriteStored(out, reinterpret_cast<const std::uint8_t*>(data.data()), data.size(), final);
      out.Flush();
    }
    auto pieces = StoredPieces(dest.Bytes());
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], std::make_pair(false, std::size_t{65535}));
    EXPECT_EQ(pieces[1], std::make_pair(false, std::size_t{65535}));
    EXPECT_EQ(pieces[2], std::make_pair(final, std::size_t{140000 - 2 * 65535}));
  }
}

TEST(DeflateBlockTest, IncompressibleInputBecomesStoredBlocks) {
  const std::string input = RandomBytes(300000, 15);
  std::string packed = DeflateWith(input, Level('n'));
  EXPECT_LE(packed.size(), input.size() + 5 * (input.size() / 32768 + 1));
  for (const auto& piece : StoredPieces(packed)) EXPECT_LE(piece.second, 65535u);
  EXPECT_EQ(RoundTrip(packed), input);
}

struct KindCase {
  std::uint32_t options;
  int blockType;  // of the first block
};

class BlockKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(BlockKindTest, OnlyTheAllowedKindIsWritten) {
  const std::string input = TextSample(50000, 5);
  TPlDeflateHelper h;
  h.SetOptions(GetParam().options);
  std::string packed = DeflateWith(input, h);
  EXPECT_EQ((static_cast<unsigned char>(packed[0]) >> 1) & 3, GetParam().blockType);
  std::string back;
  ASSERT_TRUE(ZlibInflateRaw(packed, back));
  EXPECT_EQ(back, input);
}

INSTANTIATE_TEST_SUITE_P(Options, BlockKindTest,
                         ::testing::Values(KindCase{deflate_options::kFixed, 1},
                                           KindCase{deflate_options::kFixed | 8, 1},
                                           KindCase{deflate_options::kDynamic, 2},
                                           KindCase{deflate_options::kDynamic | 8, 2},
                                           KindCase{15, 2}, KindCase{6, 2}));

// Text after the first 1,024 bytes where the most recent candidate matches
// 20 bytes and an older one 40: a sufficient length of 16 stops at the
// first, the doubled 32 goes on to the second.
std::string DoublingProbe(bool zeroInFirstKilobyte) {
  std::string head = UniqueTriples(1024, 77);
  for (char& c : head)
    if (c == '\0') c = 'Z';
  if (zeroInFirstKilobyte) head[500] = '\0';
  const std::string a = "The quick brown fox jumps over a lazy dog";  // 41 bytes
  std::string b = a.substr(0, 20) + "!!!!!!!!!!!!!!!!!!!!";
  return head + a + "<1#" + b + "<2$" + a;  // separators that match nothing
}

TPlDeflateHelper Custom(std::int32_t sufficient, std::int32_t chain, std::int32_t lazy) {
  TPlDeflateHelper h;
  h.SetSufficientLength(sufficient);
  h.SetChainLimit(chain);
  h.SetLazyLimit(lazy);
  return h;
}

TEST(DeflateDoublingTest, LevelNDoublesAtExactly1024StoredBytesWithoutZeroLiteral) {
  const std::string text = DoublingProbe(false);
  std::string normal = DeflateWith(text, Level('n'));
  EXPECT_TRUE(normal != DeflateWith(text, Custom(16, 32, 24)));
  EXPECT_EQ(RoundTrip(normal), text);
  // With doubled parameters from the start the output is the same, since
  // nothing in the first kilobyte repeats.
  EXPECT_TRUE(normal == DeflateWith(text, Custom(32, 64, 48)));
}

TEST(DeflateDoublingTest, ZeroLiteralInTheFirstBlockKeepsTheParameters) {
  const std::string text = DoublingProbe(true);
  std::string normal = DeflateWith(text, Level('n'));
  EXPECT_TRUE(normal == DeflateWith(text, Custom(16, 32, 24)));
  EXPECT_EQ(RoundTrip(normal), text);
}

TEST(DeflateDoublingTest, CustomParametersNeverDouble) {
  const std::string text = DoublingProbe(false);
  EXPECT_TRUE(DeflateWith(text, Custom(16, 32, 24)) != DeflateWith(text, Custom(32, 64, 48)));
}

// A destination that accepts only so many bytes.
class ShortStream final : public TStream {
 public:
  explicit ShortStream(std::size_t room) : room_(room) {}
  std::size_t Read(void*, std::size_t) override { return 0; }
  std::size_t Write(const void*, std::size_t count) override {
    std::size_t n = std::min(count, room_);
    room_ -= n;
    written_ += n;
    return n;
  }
  std::int64_t Seek(std::int64_t, SeekOrigin) override {
    return static_cast<std::int64_t>(written_);
  }
  std::int64_t Size() override { return static_cast<std::int64_t>(written_); }

 private:
  std::size_t room_;
  std::size_t written_ = 0;
};

class ShortWriteTest : public ::testing::TestWithParam<char> {};

TEST_P(ShortWriteTest, ReportsTheDeflateError) {
  const std::string input = RandomBytes(100000, 1);
  TMemoryStream source(input);
  ShortStream dest(1000);
  TPlDeflateHelper h = Level(GetParam());
  try {
    Deflate(source, dest, &h);
    FAIL() << "short write not reported";
  } catch (const EPlDeflateError& e) {
    EXPECT_STREQ(e.what(),
                 "Pellam deflate error. (Internal cause: could not write to the output atream "
                 "[TPlDfInBitStream.obsEmptyBuffer])");
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShortWriteTest, ::testing::Values('0', 'n', 'x'));

TEST(DeflateEncryptionTest, PasswordRoundTripAndWrongPassword) {
  const std::string input = TextSample(70000, 19);
  TPlDeflateHelper h = Level('n');
  h.PasswordText = "s3cret";
  h.CheckWord = 0xABCD0000u;
  TMemoryStream source(input);
  TMemoryStream packed;
  std::uint32_t crc = Deflate(source, packed, &h);
  EXPECT_EQ(h.OutputSize, packed.Size());

  TPlDeflateHelper good;
  good.PasswordText = "s3cret";
  good.CheckWord = 0xABCD0000u;
  packed.SetPosition(0);
  TMemoryStream out;
  EXPECT_EQ(Inflate(packed, out, &good), crc);
  EXPECT_EQ(out.Bytes(), input);
  EXPECT_EQ(good.ConsumedSize, packed.Size());

  TPlDeflateHelper bad = good;
  bad.PasswordText = "wrong";
  packed.SetPosition(0);
  TMemoryStream none;
  try {
    Inflate(packed, none, &bad);
    FAIL() << "wrong password accepted";
  } catch (const EPlInflatePasswordError& e) {
    EXPECT_STREQ(e.what(), "Inflate: stream is encrypted but passphrase is wrong");
  }
}

TEST(Deflate64Test, Length258IsSymbol285InBothVariants) {
  const std::string input(259, 'a');  // a literal, then 258 bytes at distance 1
  for (bool deflate64 : {false, true}) {
    BitWriter w;
    w.Bits(1, 1).Bits(1, 2).FixedLiteral('a').FixedLiteral(285);
    if (deflate64) w.Bits(258 - 3, 16);  // base 3, 16 extra bits
    w.FixedDistance(0).FixedLiteral(256);
    TPlDeflateHelper h = Level('n');
    h.SetOptions(deflate_options::kFixed | (deflate64 ? deflate_options::kDeflate64 : 0));
    std::string packed = DeflateWith(input, h);
    EXPECT_EQ(packed, w.Finish()) << "Deflate64 " << deflate64;
    EXPECT_EQ(RoundTrip(packed, deflate64 ? 15 | deflate_options::kDeflate64 : 15), input);
  }
}

TEST(Deflate64Test, RoundTripWithLongMatchesAndFarDistances) {
  std::string input = RandomBytes(50000, 31);
  input += input;                     // a repeat 50,000 bytes back
  input += std::string(200000, 'r');  // one very long run
  TPlDeflateHelper h = Level('n');
  h.SetOptions(h.Options() | deflate_options::kDeflate64);
  h.WindowBytes = 65536;
  std::string packed = DeflateWith(input, h);
  EXPECT_LT(packed.size(), 51000u);
  EXPECT_EQ(RoundTrip(packed, 15 | deflate_options::kDeflate64), input);
}

}  // namespace
