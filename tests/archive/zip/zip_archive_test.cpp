// The bytes the writer lays down and how the container reads them back.

#include "archive/zip/zip_archive.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/archive_errors.h"
#include "archive/codec/crc32.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

constexpr std::uint32_t kHelloWorldCrc = 0x0D4A1185u;  // CRC-32 of "hello world"

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

struct TLayoutCase {
  const char* name;
  std::string data;
  std::string password;
  bool stored;
  std::uint16_t method;
};

void PrintTo(const TLayoutCase& c, std::ostream* os) { *os << c.name; }

class WriterLayoutTest : public ::testing::TestWithParam<TLayoutCase> {};

// Checks every field of the template against the file, for C compressed
// bytes: local header 34, data C, descriptor 12 when encrypted, directory
// entry 50, end record 22.
TEST_P(WriterLayoutTest, FileFollowsTheTemplate) {
  const TLayoutCase& c = GetParam();
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, c.data, c.password, c.stored);
  std::string f = ReadWholeFile(path);
  const bool encrypted = !c.password.empty();
  const std::size_t size = Le32(f, 18);
  const std::size_t dirOffset = 34 + size + (encrypted ? 12 : 0);
  ASSERT_EQ(f.size(), size + (encrypted ? 118 : 106));
  const std::uint16_t version = c.method == 8 ? 20 : 10;
  const std::uint16_t flags = encrypted ? 9 : 0;
  // Local header.
  EXPECT_EQ(f.substr(0, 4), Bytes({0x50, 0x4B, 0x03, 0x04}));
  EXPECT_EQ(Le16(f, 4), version);
  EXPECT_EQ(Le16(f, 6), flags);
  EXPECT_EQ(Le16(f, 8), c.method);
  EXPECT_EQ(Le32(f, 14), c.data.empty() ? 0u : Crc32(c.data.data(), c.data.size()));
  EXPECT_EQ(Le32(f, 22), c.data.size());
  EXPECT_EQ(Le16(f, 26), 4);
  EXPECT_EQ(Le16(f, 28), 0);
  EXPECT_EQ(f.substr(30, 4), "Data");
  if (c.stored) {
    EXPECT_EQ(size, c.data.size() + (encrypted ? 12 : 0));
  }
  if (encrypted) {
    EXPECT_EQ(f.substr(34 + size, 12), f.substr(14, 12));  // descriptor
  }
  // Directory entry.
  EXPECT_EQ(f.substr(dirOffset, 4), Bytes({0x50, 0x4B, 0x01, 0x02}));
  EXPECT_EQ(Le16(f, dirOffset + 4), 20);  // version made by
  EXPECT_EQ(f.substr(dirOffset + 6, 24), f.substr(4, 24));
  EXPECT_EQ(f.substr(dirOffset + 30, 16), std::string(16, '\0'));
  EXPECT_EQ(f.substr(dirOffset + 46, 4), "Data");
  // End record.
  std::size_t end = dirOffset + 50;
  EXPECT_EQ(f.substr(end, 12), Bytes({0x50, 0x4B, 0x05, 0x06, 0, 0, 0, 0, 1, 0, 1, 0}));
  EXPECT_EQ(Le32(f, end + 12), 50u);
  EXPECT_EQ(Le32(f, end + 16), dirOffset);
  EXPECT_EQ(Le16(f, end + 20), 0);
  EXPECT_EQ(ReadDataMember(path, c.password), c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Members, WriterLayoutTest,
    ::testing::Values(TLayoutCase{"StoredEncrypted", "hello world", "pw", true, 0},
                      TLayoutCase{"StoredPlain", "hello world", "", true, 0},
                      TLayoutCase{"DeflatedEncrypted", SampleText(3000), "pw", false, 8},
                      TLayoutCase{"DeflatedPlain", SampleText(3000), "", false, 8},
                      TLayoutCase{"IncompressibleIsStored", "hello world", "pw", false, 0},
                      TLayoutCase{"EmptyListEncrypted", "", "pw", false, 0},
                      TLayoutCase{"EmptyListPlain", "", "", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriterLayout, EmptyListWithPasswordIsTheBareEncryptionHeader) {
  TScratchDir dir;
  WriteDataArchive(dir.File("e.zip"), "", "pw");
  std::string f = ReadWholeFile(dir.File("e.zip"));
  ASSERT_EQ(f.size(), 130u);
  EXPECT_EQ(Le16(f, 4), 10);
  EXPECT_EQ(Le16(f, 6), 9);
  EXPECT_EQ(Le16(f, 8), 0);
  EXPECT_EQ(Le32(f, 14), 0u);
  EXPECT_EQ(Le32(f, 18), 12u);
  EXPECT_EQ(Le32(f, 22), 0u);
}

TEST(WriterLayout, KnownCrcOfStoredMember) {
  TScratchDir dir;
  WriteDataArchive(dir.File("k.zip"), "hello world", "", true);
  EXPECT_EQ(Le32(ReadWholeFile(dir.File("k.zip")), 14), kHelloWorldCrc);
}

TEST(WriterLayout, TimeStampIsNowInDosForm) {
  TScratchDir dir;
  std::time_t before = std::time(nullptr);
  WriteDataArchive(dir.File("t.zip"), "x", "");
  std::string f = ReadWholeFile(dir.File("t.zip"));
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ(Le16(f, 12), static_cast<std::uint16_t>((local.tm_year - 80) * 512 +
                                                    (local.tm_mon + 1) * 32 + local.tm_mday));
  int minutes = Le16(f, 10) >> 5;
  EXPECT_NEAR(minutes, local.tm_hour * 64 + local.tm_min, 1);
}

struct TLevelCase {
  TDeflationOption option;
  std::uint16_t flags;
};

class DeflationFlagsTest : public ::testing::TestWithParam<TLevelCase> {};

TEST_P(DeflationFlagsTest, LevelBitsFollowTheOption) {
  TScratchDir dir;
  for (const std::string password : {"", "pw"}) {
    std::string path = dir.File("l" + password + ".zip");
    TMemoryStream buffer(SampleText(5000));
    TZipWriter writer;
    writer.DeflationOption = GetParam().option;
    writer.SetPassword(password);
    writer.SetFileName(path);
    writer.AddFromStream("Data", buffer);
    writer.CloseArchive();
    std::string f = ReadWholeFile(path);
    EXPECT_EQ(Le16(f, 6), GetParam().flags | (password.empty() ? 0 : 9));
    EXPECT_EQ(ReadDataMember(path, password), SampleText(5000));
  }
}

INSTANTIATE_TEST_SUITE_P(Options, DeflationFlagsTest,
                         ::testing::Values(TLevelCase{TDeflationOption::doNormal, 0},
                                           TLevelCase{TDeflationOption::doMaximum, 2},
                                           TLevelCase{TDeflationOption::doFast, 4},
                                           TLevelCase{TDeflationOption::doSuperFast, 6}));

TEST(ArchiveType, ByExtensionAndContent) {
  TScratchDir dir;
  WriteDataArchive(dir.File("a.zip"), "x", "");
  WriteWholeFile(dir.File("b.ZiP"), ReadWholeFile(dir.File("a.zip")));
  WriteWholeFile(dir.File("c.dat"), ReadWholeFile(dir.File("a.zip")));
  WriteWholeFile(dir.File("d.zip"), "plain text, no archive");
  WriteWholeFile(dir.File("e.zip"), "");
  WriteWholeFile(dir.File("f.zip"), std::string("PK00", 4) + ReadWholeFile(dir.File("a.zip")));
  EXPECT_EQ(ArchiveType(dir.File("a.zip")), TArchiveType::Zip);
  EXPECT_EQ(ArchiveType(dir.File("b.ZiP")), TArchiveType::Zip);
  EXPECT_EQ(ArchiveType(dir.File("c.dat")), TArchiveType::None);
  EXPECT_EQ(ArchiveType(dir.File("d.zip")), TArchiveType::None);
  EXPECT_EQ(ArchiveType(dir.File("e.zip")), TArchiveType::Zip);
  EXPECT_EQ(ArchiveType(dir.File("f.zip")), TArchiveType::MultiPart);
  EXPECT_EQ(ArchiveType(dir.File("missing.zip")), TArchiveType::Zip);
  EXPECT_EQ(ArchiveType(dir.File("missing.exe")), TArchiveType::None);
}

TEST(ZipArchive, RelativePathIsRefused) {
  try {
    TZipArchive archive("relative.zip", TZipArchive::OpenMode::CreateNew);
    FAIL() << "no error";
  } catch (const EZipError& e) {
    EXPECT_STREQ(e.what(), "Full Path Required");
  }
}

// Reads the directory whatever the end record's counts say.
TEST(ZipArchive, EntryCountsDoNotBoundTheDirectory) {
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, "payload", "");
  std::string f = ReadWholeFile(path);
  SetLe16(f, f.size() - 14, 0);
  SetLe16(f, f.size() - 12, 0);
  WriteWholeFile(path, f);
  EXPECT_EQ(ReadDataMember(path, ""), "payload");
}

// Two directory entries for "Data": the later one is used.
TEST(ZipArchive, DuplicateEntriesBothLoadAndTheLastWins) {
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, "first", "");
  std::string f = ReadWholeFile(path);
  // Layout: local 34 + 5 data, directory 50, end 22. Append a second member
  // after the first one's data and give it its own directory entry.
  std::string local1 = f.substr(0, 39);
  std::string entry1 = f.substr(39, 50);
  std::string local2 = local1;
  local2.replace(34, 5, "other");
  SetLe32(local2, 14, Crc32("other", 5));
  std::string entry2 = entry1;
  SetLe32(entry2, 16, Crc32("other", 5));
  SetLe32(entry2, 42, 39);
  std::string end = f.substr(89);
  SetLe16(end, 8, 2);
  SetLe16(end, 10, 2);
  SetLe32(end, 12, 100);
  SetLe32(end, 16, 78);
  WriteWholeFile(path, local1 + local2 + entry1 + entry2 + end);
  TZipArchive archive(path, TZipArchive::OpenMode::OpenExisting);
  archive.Load();
  EXPECT_EQ(archive.Count(), 2u);
  EXPECT_EQ(archive.FindItem("DATA"), 1);
  EXPECT_EQ(ReadNamedMember(path, "data", ""), "other");
}

// A file saved on a removable drive starts with "PK00" and has every offset
// shifted by 4; it reads like any other.
TEST(ZipArchive, RemovableDriveMarkerFileIsReadNormally) {
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, "marker test", "pw");
  std::string f = ReadWholeFile(path);
  std::size_t dirOffset = Le32(f, f.size() - 6);
  SetLe32(f, dirOffset + 42, 4);
  SetLe32(f, f.size() - 6, static_cast<std::uint32_t>(dirOffset + 4));
  WriteWholeFile(path, std::string("PK00", 4) + f);
  EXPECT_EQ(ReadDataMember(path, "pw"), "marker test");
}

TEST(ZipArchive, BytesBetweenMembersDoNotDisturbReading) {
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, "gap test", "");
  std::string f = ReadWholeFile(path);
  std::size_t dirOffset = Le32(f, f.size() - 6);
  std::string gap(300, 'g');
  SetLe32(f, f.size() - 6, static_cast<std::uint32_t>(dirOffset + gap.size()));
  WriteWholeFile(path, f.substr(0, dirOffset) + gap + f.substr(dirOffset));
  EXPECT_EQ(ReadDataMember(path, ""), "gap test");
}

TEST(ZipArchive, EmptyZipFileOpensWithoutMembersAndClosesAsBareEndRecord) {
  TScratchDir dir;
  std::string path = dir.File("empty.zip");
  WriteWholeFile(path, "");
  TZipReader reader;
  int failures = 0;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem&, int, int, int) { ++failures; };
  reader.SetFileName(path);
  TMemoryStream buffer;
  reader.ExtractToStream("Data", buffer);
  reader.CloseArchive();
  EXPECT_EQ(buffer.Size(), 0);
  EXPECT_EQ(failures, 0);
  std::string f = ReadWholeFile(path);
  EXPECT_EQ(f, Bytes({0x50, 0x4B, 0x05, 0x06}) + std::string(18, '\0'));
}

}  // namespace
