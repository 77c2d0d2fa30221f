// The writer on the safe save: a failed add never costs the old file, and a
// file whose members cannot be carried over is refused, not replaced.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/storage/archive_lock.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

class WriterSaveTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string path = dir.File("site.zip");
  std::string data = SampleText(2500);
};

TEST_F(WriterSaveTest, AddThatCannotWriteLeavesTheOldFileAndTheWriterUsable) {
  WriteDataArchive(path, data, "pw");
  const std::string before = ReadWholeFile(path);
  TZipWriter writer;
  writer.SetPassword("pw");
  writer.SetFileName(path);
  TMemoryStream other("second");
  {
    THookGuard guard([](const std::string&) { throw EFileError("Cannot write file: disk full"); });
    EXPECT_THROW(writer.AddFromStream("Other", other), EFileError);
  }
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"site.zip"});
  // Tried again, the add goes through; the first member keeps its record
  // and its directory entry byte for byte.
  writer.AddFromStream("Other", other);
  writer.CloseArchive();
  const std::string after = ReadWholeFile(path);
  const std::size_t record = Le32(before, before.size() - 6);
  EXPECT_EQ(after.substr(0, record), before.substr(0, record));
  EXPECT_EQ(after.substr(Le32(after, after.size() - 6), 50), before.substr(record, 50));
  EXPECT_EQ(Le16(after, after.size() - 12), 2);
  EXPECT_EQ(ReadNamedMember(path, "Other", "pw"), "second");
}

// The writer keeps no backup, so a file it cannot copy whole stays as it is.
TEST_F(WriterSaveTest, FileItCannotCarryOverIsLeftAsItWas) {
  const struct {
    void (*damage)(std::string& file);
    const char* message;
  } cases[] = {
      {[](std::string& f) { SetLe16(f, f.size() - 18, 1); },
       "Cannot update an existing spanned disk set"},
      {[](std::string& f) { f[0] = 'X'; }, "Invalid file - not a PKZip file"},
      {[](std::string& f) { SetLe32(f, Le32(f, f.size() - 6) + 20, 0xFFFFFF00u); },
       "Invalid file - not a PKZip file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::remove(path.c_str());
    WriteDataArchive(path, data, "");
    std::string file = ReadWholeFile(path);
    c.damage(file);
    WriteWholeFile(path, file);
    TZipWriter writer;
    writer.SetFileName(path);
    TMemoryStream other("second");
    try {
      writer.AddFromStream("Other", other);
      ADD_FAILURE() << "no error";
    } catch (const EZipError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    writer.CloseArchive();
    EXPECT_EQ(ReadWholeFile(path), file);
  }
}

// Another program that holds the lock on an empty archive is about to write
// it; a reader closing meanwhile leaves the file to it.
TEST_F(WriterSaveTest, ReaderLeavesALockedEmptyFileAlone) {
  WriteWholeFile(path, "");
  TArchiveLock other(path);
  TZipReader reader;
  reader.SetFileName(path);
  reader.CloseArchive();
  EXPECT_EQ(ReadWholeFile(path), "");
}

}  // namespace
