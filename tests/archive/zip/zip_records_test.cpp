#include "archive/zip/zip_records.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/archive_errors.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

// An end record with a comment of the given length, of which `present`
// bytes are really there.
std::string EndRecordBytes(std::uint16_t commentLength, std::size_t present) {
  std::string record;
  PutU32(record, zip_sig::kEndRecord);
  record += std::string(16, '\0');
  PutU16(record, commentLength);
  return record + std::string(present, 'c');
}

struct TEndCase {
  const char* name;
  std::size_t prefix;
  std::uint16_t comment;
  std::size_t trailing;
  bool found;
};

void PrintTo(const TEndCase& c, std::ostream* os) { *os << c.name; }

class FindEndRecordTest : public ::testing::TestWithParam<TEndCase> {};

TEST_P(FindEndRecordTest, FindsTheRecordOrRestoresThePosition) {
  const TEndCase& c = GetParam();
  std::string bytes = std::string(c.prefix, 'x') + EndRecordBytes(c.comment, c.comment) +
                      std::string(c.trailing, 't');
  TMemoryStream stream(bytes);
  stream.SetPosition(3);
  std::int64_t offset = FindEndRecord(stream);
  if (c.found) {
    EXPECT_EQ(offset, static_cast<std::int64_t>(c.prefix));
    EXPECT_EQ(stream.Position(), offset);
  } else {
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(stream.Position(), 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FindEndRecordTest,
    ::testing::Values(TEndCase{"BareRecordByQuickCheck", 100, 0, 0, true},
                      TEndCase{"RecordAtOffsetZero", 0, 0, 0, true},
                      TEndCase{"ShortComment", 100, 10, 0, true},
                      TEndCase{"RecordInsideFirstWindow", 1000, 490, 0, true},
                      // Starts 8 bytes before the first 512-byte window: only the
                      // signature falls into the 4-byte overlap of the second window.
                      TEndCase{"RecordAcrossFirstWindowEdge", 1000, 498, 0, true},
                      TEndCase{"RecordAcrossWindowEdgeBy20", 3000, 510, 0, true},
                      TEndCase{"LongestComment", 10, 65535, 0, true},
                      TEndCase{"LongestCommentAfterBigPrefix", 100000, 65535, 0, true},
                      TEndCase{"TrailingDataBeyondOneWindow", 50, 0, 70000, true},
                      TEndCase{"TrailingDataOfSeveralWindows", 5000, 0, 200000, true},
                      TEndCase{"SmallFileWithTrailingData", 0, 0, 10, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindEndRecord, CommentLongerThanTheFileIsRejected) {
  TMemoryStream stream(std::string(40, 'x') + EndRecordBytes(100, 20));
  stream.SetPosition(7);
  EXPECT_EQ(FindEndRecord(stream), -1);
  EXPECT_EQ(stream.Position(), 7);
}

TEST(FindEndRecord, NoRecordInShortOrPlainFiles) {
  for (std::size_t size : {0u, 5u, 21u, 22u, 600u, 70000u}) {
    TMemoryStream stream(std::string(size, 'P'));
    EXPECT_EQ(FindEndRecord(stream), -1) << size;
  }
}

TEST(ZipRecords, ReaderRejectsWrongSignatureAndShortRecords) {
  std::string bytes = EndRecordBytes(0, 0);
  SetLe32(bytes, 0, zip_sig::kDirectoryEntry);
  TMemoryStream wrong(bytes);
  EXPECT_THROW(ReadEndRecord(wrong), EZipError);
  TMemoryStream shortLocal(std::string("PK\x03\x04", 4) + std::string(10, '\0'));
  try {
    ReadLocalHeader(shortLocal);
    FAIL() << "no error";
  } catch (const EZipError& e) {
    EXPECT_STREQ(e.what(), "Invalid file - not a PKZip file");
  }
}

TEST(ZipRecords, DirectoryEntryRoundTripCutsNamesAtZero) {
  TZipDirectoryEntry entry;
  entry.Flags = 9;
  entry.Crc32 = 0xDEADBEEF;
  entry.CompressedSize = 77;
  entry.UncompressedSize = 99;
  entry.LocalHeaderOffset = 1234;
  entry.Name = std::string("Da\0ta", 5);
  std::string bytes;
  WriteDirectoryEntry(bytes, entry);
  ASSERT_EQ(bytes.size(), kDirectoryEntrySize + 5);
  TMemoryStream stream(bytes);
  TZipDirectoryEntry back = ReadDirectoryEntry(stream);
  EXPECT_EQ(back.Name, "Da");
  EXPECT_EQ(back.Crc32, 0xDEADBEEFu);
  EXPECT_EQ(back.LocalHeaderOffset, 1234u);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(bytes.size()));
}

std::tm LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(DosDateTime, PacksTimeHighAndDateLow) {
  // Seconds are halved and truncated.
  EXPECT_EQ(DosDateTime(LocalTime(2026, 12, 7, 20, 26, 11)), (0xA345u << 16) | 0x5D87u);
  EXPECT_EQ(DosDateTime(LocalTime(1980, 1, 1, 0, 0, 0)), (0u << 16) | 0x21u);
  EXPECT_EQ(DosDateTime(LocalTime(2107, 12, 31, 23, 59, 59)) & 0xFFFF, 0xFF9Fu);
}

TEST(DosDateTime, YearsOutsideTheDosRangeGiveZero) {
  EXPECT_EQ(DosDateTime(LocalTime(1979, 12, 31, 23, 59, 59)), 0u);
  EXPECT_EQ(DosDateTime(LocalTime(2108, 1, 1, 0, 0, 0)), 0u);
}

}  // namespace
