// Damaged and hostile archives: every path ends in one of the program's
// error texts or an item-failure event, never a crash, over-read or hang.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "archive/archive_errors.h"
#include "archive/codec/crc32.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

bool IsProgramText(const std::string& text, const std::string& path) {
  static const std::set<std::string> kTexts = {"Invalid file - not a PKZip file",
                                               "File not found",
                                               "Unhandled Archive Type",
                                               "Full Path Required",
                                               "Stream read error",
                                               "Stream seek error",
                                               "Invalid Stream"};
  return kTexts.count(text) > 0 || text == "Cannot open file " + path;
}

struct TOutcome {
  bool opened = false;
  int failures = 0;
  int lastClass = -1;
  int lastCode = -1;
  std::string data;
  std::size_t capacity = 0;  // what the destination reserved
};

// Opens and extracts "Data", giving the password once when asked through
// the item-failure event, as the window does.
TOutcome OpenAndExtract(const std::string& path, const std::string& password) {
  TOutcome outcome;
  TZipReader reader;
  TMemoryStream buffer;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int, int c, int e) {
    outcome.lastClass = c;
    outcome.lastCode = e;
    if (++outcome.failures > 1) return;
    buffer.Clear();
    reader.SetPassword(password);
    reader.ExtractToStream(item.Name, buffer);
  };
  try {
    reader.SetFileName(path);
    outcome.opened = true;
    reader.ExtractToStream("Data", buffer);
    reader.CloseArchive();
  } catch (const std::exception& e) {
    EXPECT_TRUE(IsProgramText(e.what(), path)) << e.what();
  }
  outcome.data = buffer.Bytes();
  outcome.capacity = buffer.Capacity();
  return outcome;
}

class DamagedArchiveTest : public ::testing::TestWithParam<bool> {
 protected:
  TScratchDir dir;
  std::string path = dir.File("d.zip");
  std::string data = SampleText(700);
  std::string Original() {
    WriteDataArchive(path, data, GetParam() ? "pw" : "");
    return ReadWholeFile(path);
  }
  std::string Password() const { return GetParam() ? "pw" : ""; }
};

// Every single byte inverted in turn.
TEST_P(DamagedArchiveTest, EveryByteInverted) {
  const std::string original = Original();
  for (std::size_t i = 0; i < original.size(); ++i) {
    std::string f = original;
    f[i] = static_cast<char>(~f[i]);
    WriteWholeFile(path, f);
    TOutcome outcome = OpenAndExtract(path, Password());
    // Whatever comes out is either the member or reported as a failure.
    if (outcome.opened && outcome.failures == 0 && !outcome.data.empty()) {
      EXPECT_EQ(outcome.data, data) << "byte " << i;
    }
  }
}

// The file cut off at every length.
TEST_P(DamagedArchiveTest, EveryTruncation) {
  const std::string original = Original();
  for (std::size_t length = 0; length < original.size(); ++length) {
    WriteWholeFile(path, original.substr(0, length));
    TOutcome outcome = OpenAndExtract(path, Password());
    EXPECT_TRUE(outcome.data.empty() || outcome.data == data) << "length " << length;
  }
}

INSTANTIATE_TEST_SUITE_P(Encryption, DamagedArchiveTest, ::testing::Bool());

class HostileFieldTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string path = dir.File("h.zip");
  std::string data = SampleText(5000);
  std::string file;
  std::size_t directory = 0;
  void SetUp() override {
    WriteDataArchive(path, data, "");
    file = ReadWholeFile(path);
    directory = Le32(file, file.size() - 6);
  }
  TOutcome Run() {
    WriteWholeFile(path, file);
    return OpenAndExtract(path, "");
  }
};

TEST_F(HostileFieldTest, DirectoryOffsetPastTheEnd) {
  SetLe32(file, file.size() - 6, 0xFFFFFF00u);
  EXPECT_FALSE(Run().opened);
}

// A reader never rewrites a damaged file it could not make sense of.
TEST_F(HostileFieldTest, ReaderLeavesAFileWithoutMembersAlone) {
  SetLe32(file, file.size() - 6, static_cast<std::uint32_t>(directory + 50));
  SetLe32(file, file.size() - 10, 0);
  TOutcome outcome = Run();
  EXPECT_TRUE(outcome.opened);
  EXPECT_EQ(ReadWholeFile(path), file);
}

TEST_F(HostileFieldTest, NameLengthPastTheEnd) {
  SetLe16(file, directory + 28, 0xFFFF);
  EXPECT_FALSE(Run().opened);
}

TEST_F(HostileFieldTest, LocalHeaderOffsetPastTheEnd) {
  SetLe32(file, directory + 42, 0x7FFFFFF0u);
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.lastCode, 28);
  EXPECT_TRUE(outcome.data.empty());
}

TEST_F(HostileFieldTest, CompressedSizePastTheEnd) {
  SetLe32(file, directory + 20, 0xFFFFFFF0u);
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.lastClass, 1);
  EXPECT_TRUE(outcome.data.empty());
}

// The member inflates to more than its entry declares: refused without
// keeping more than the declared size.
TEST_F(HostileFieldTest, OutputLargerThanDeclared) {
  for (std::uint32_t declared : {0u, 1u, 100u, 4999u}) {
    SetUp();
    SetLe32(file, directory + 24, declared);
    TOutcome outcome = Run();
    EXPECT_EQ(outcome.failures, 2) << declared;
    EXPECT_EQ(outcome.lastClass, 2) << declared;
    EXPECT_TRUE(outcome.data.empty()) << declared;
  }
}

TEST_F(HostileFieldTest, DeclaredHugeOutputOfASmallMember) {
  SetLe32(file, directory + 24, 0xFFFFFFFFu);
  // Less output than declared is not refused: the CRC-32 still vouches for it.
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(outcome.data, data);
}

// The reader reserves the declared size for the output; a header that
// claims more than the member holds still reads the member exactly, and
// gets no more room than its few compressed bytes could fill.
TEST_F(HostileFieldTest, DeclaredMoreThanTheOutput) {
  for (std::uint32_t declared : {5001u, 65536u, 3u << 20, 200u << 20}) {
    SetUp();
    SetLe32(file, directory + 24, declared);
    TOutcome outcome = Run();
    EXPECT_EQ(outcome.failures, 0) << declared;
    EXPECT_EQ(outcome.data, data) << declared;
    EXPECT_LT(outcome.capacity, 1u << 20) << declared;
  }
}

TEST_F(HostileFieldTest, TruncatedCompressedData) {
  SetLe32(file, directory + 20, Le32(file, 18) / 2);
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.lastClass, 2);
  EXPECT_TRUE(outcome.data.empty());
}

TEST_F(HostileFieldTest, CorruptHuffmanTables) {
  for (std::size_t i = 34; i < 34 + 40; ++i) file[i] = static_cast<char>(0xFF);
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.failures, 2);
  EXPECT_TRUE(outcome.data.empty());
}

TEST_F(HostileFieldTest, StoredSizeLargerThanItsData) {
  std::remove(path.c_str());
  WriteDataArchive(path, "short", "", true);
  file = ReadWholeFile(path);
  directory = Le32(file, file.size() - 6);
  SetLe32(file, directory + 24, 1000);
  TOutcome outcome = Run();
  EXPECT_EQ(outcome.lastClass, 1);
  EXPECT_TRUE(outcome.data.empty());
}

// A directory that claims to run on past the end record.
TEST_F(HostileFieldTest, DirectoryRunsIntoTheEndRecord) {
  SetLe32(file, file.size() - 6, static_cast<std::uint32_t>(directory + 20));
  EXPECT_FALSE(Run().opened);
}

}  // namespace
