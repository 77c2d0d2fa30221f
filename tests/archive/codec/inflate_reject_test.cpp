// One hand-assembled stream per rejection branch of the decoder, with the
// exact message the caller sees.
#include <gtest/gtest.h>

#include "archive/codec/deflate_helper.h"
#include "archive/codec/inflate.h"
#include "bit_writer.h"

namespace {

struct RejectCase {
  const char* name;
  const char* hex;
  const char* cause;
};

std::string Message(const char* cause) {
  return std::string(
             "Pellam inflate error, possibly a corrupted compressed stream. (Internal cause: ") +
         cause + ")";
}

class InflateRejectTest : public ::testing::TestWithParam<RejectCase> {};

TEST_P(InflateRejectTest, FailsWithItsCause) {
  TMemoryStream source(HexToBytes(GetParam().hex));
  TMemoryStream dest;
  try {
    Inflate(source, dest, nullptr);
    FAIL() << "accepted a corrupt stream";
  } catch (const EPlInflateError& e) {
    EXPECT_EQ(e.what(), Message(GetParam().cause));
  }
}

constexpr const char* kNoMoreDiscard =
    "no more compressed data in stream [TPlDfInBitStream.DiscardBits]";

// Fixed-Huffman streams start 73 (final, fixed, literal 'A'); dynamic ones 05.
const RejectCase kCases[] = {
    {"BlockType3", "07", "starting new block, but invalid block type [Inflate]"},
    {"Nlen65534", "010000feff",
     "invalid stored block (length and NOT length do not match) [InflateStoredBlock]"},
    {"Hlit30", "f500000000000000000000",
     "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]"},
    {"Hlit31", "fd00000000000000000000",
     "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]"},
    {"Hdist30", "051e000000000000000000",
     "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]"},
    // Code-length code holds only symbol 1 (code 0); the bit 1 reaches no symbol.
    {"CodeLengthSymbolUnreachable", "05c0010000000000900000000000000000",
     "decoded a symbol not between 0 and 18 {ReadLitDistCodeLengths}"},
    {"RepeatWithoutPrevious", "05c003000000000090000000000000000000",
     "repeat code 16 with no previous code length {ReadLitDistCodeLengths}"},
    {"OversubscribedCodeLengthCode", "050092000000000000000000",
     "code lengths over-subscribe the code space [InflateDynamicBlock]"},
    {"OversubscribedLiteralCode",
     "05c001040000000090ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff01000000000"
     "0000000",
     "code lengths over-subscribe the code space [InflateDynamicBlock]"},
    {"FixedLength286", "731c0300000000",
     "decoded an invalid length symbol: greater than 285 [DecodeData]"},
    {"FixedLength287", "731c0700000000",
     "decoded an invalid length symbol: greater than 285 [DecodeData]"},
    {"FixedDistance30", "73043e00000000",
     "decoded an invalid distance symbol: greater than 29 [DecodeData]"},
    {"FixedDistance31", "73047e00000000",
     "decoded an invalid distance symbol: greater than 29 [DecodeData]"},
    {"DistanceBeyondOutput", "73044200",
     "distance reaches before the start of the output [DecodeData]"},
    {"DistanceBeforeAnyOutput", "030200",
     "distance reaches before the start of the output [DecodeData]"},
    {"TruncatedFixedBlock", "737402", kNoMoreDiscard},
    {"TruncatedStoredBlock", "010500faff4142",
     "no more compressed data in stream [TPlDfInBitStream.ReadBuffer]"},
    // A non-final empty fixed block; the next header's bits run out in LEN.
    {"NoFinalBlock", "0200", "no more compressed data in stream [TPlDfInBitStream.ReadBits]"},
    {"EmptyInput", "", "no more compressed data in stream [TPlDfInBitStream.ReadBit]"},
};

INSTANTIATE_TEST_SUITE_P(Branches, InflateRejectTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every proper prefix of a valid multi-block stream is a truncated stream.
TEST(InflateTruncationTest, EveryPrefixFailsWithNoMoreData) {
  BitWriter w;  // a stored block, then a final fixed block with a match
  w.Bits(0, 1).Bits(0, 2).Align().Bits(5, 16).Bits(0xFFFA, 16).Bytes("hello");
  w.Bits(1, 1).Bits(1, 2).FixedLiteral('!').FixedLiteral(258).FixedDistance(4).Bits(
      1, 1);  // length 4, distance 6
  w.FixedLiteral(256);
  const std::string full = w.Finish();
  {
    TMemoryStream source(full);
    TMemoryStream dest;
    Inflate(source, dest, nullptr);
    ASSERT_EQ(dest.Bytes(), "hello!hell");
  }
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    TMemoryStream source(full.substr(0, cut));
    TMemoryStream dest;
    try {
      Inflate(source, dest, nullptr);
      ADD_FAILURE() << "prefix of " << cut << " bytes accepted";
    } catch (const EPlInflateError& e) {
      EXPECT_NE(std::string(e.what()).find("no more compressed data in stream"), std::string::npos)
          << e.what();
    }
  }
}

}  // namespace
