// What a save writes: the site list in the archive's own layout, every
// other member and the comment of an existing archive carried over, and
// the backups kept beside it.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "archive/storage/safe_save.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

// The archive's bytes with the time stamps of its one member cleared.
std::string WithoutTimes(std::string bytes) {
  const std::uint32_t directory = Le32(bytes, bytes.size() - 22 + 16);
  SetLe32(bytes, 10, 0);
  SetLe32(bytes, directory + 12, 0);
  return bytes;
}

TEST(SafeSaveMembers, SiteListAloneIsLaidOutAsTheWriterLaysItOut) {
  TScratchDir dir;
  const std::string data = SampleText(5000);
  WriteDataArchive(dir.File("writer.zip"), data, "");
  SaveDataArchive(dir.File("saved.zip"), "", data);
  EXPECT_EQ(WithoutTimes(ReadWholeFile(dir.File("saved.zip"))),
            WithoutTimes(ReadWholeFile(dir.File("writer.zip"))));
  // Replacing such an archive keeps the layout.
  SaveDataArchive(dir.File("saved.zip"), "", data);
  EXPECT_EQ(WithoutTimes(ReadWholeFile(dir.File("saved.zip"))),
            WithoutTimes(ReadWholeFile(dir.File("writer.zip"))));
  // Encrypted: C + 118 bytes, as the writer makes it.
  WriteDataArchive(dir.File("writer-pw.zip"), data, "pw");
  SaveDataArchive(dir.File("saved.zip"), "pw", data);
  const std::string saved = ReadWholeFile(dir.File("saved.zip"));
  EXPECT_EQ(saved.size(), ReadWholeFile(dir.File("writer-pw.zip")).size());
  EXPECT_EQ(saved.size(), Le32(saved, 18) + 118u);
}

TEST(SafeSaveMembers, MembersOfAnotherToolAndTheCommentAreCarriedOver) {
  if (!HaveTool("zip") || !HaveTool("unzip")) GTEST_SKIP() << "zip and unzip needed";
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  WriteWholeFile(dir.File("notes.txt"), "notes of my own\n");
  WriteWholeFile(dir.File("Data"), "old=site\r\n");
  // Written through a pipe, zip gives each member a signed data descriptor
  // and extra fields holding zero bytes.
  ASSERT_EQ(
      RunCommand("cd " + ShellQuote(dir.Path()) + " && zip -q - notes.txt Data | cat > keys.zip"),
      0);
  const std::string comment = "kept comment";
  std::string original = ReadWholeFile(path);
  SetLe16(original, original.size() - 2, static_cast<std::uint16_t>(comment.size()));
  WriteWholeFile(path, original + comment);
  const std::uint32_t oldDirectory = Le32(original, original.size() - 22 + 16);
  const std::size_t notesEntryLength =
      46 + Le16(original, oldDirectory + 28) + Le16(original, oldDirectory + 30);
  const std::uint32_t dataOffset = Le32(original, oldDirectory + notesEntryLength + 42);

  SaveDataArchive(path, "pw", "new=site\r\n");

  const std::string saved = ReadWholeFile(path);
  std::string output;
  EXPECT_EQ(RunCommand("unzip -t -P pw " + ShellQuote(path), &output), 0) << output;
  EXPECT_EQ(ReadDataMember(path, "pw"), "new=site\r\n");
  // notes.txt comes first in both: its record and entry are the same bytes.
  EXPECT_EQ(saved.substr(0, dataOffset), original.substr(0, dataOffset));
  const std::uint32_t newDirectory = Le32(saved, saved.size() - comment.size() - 22 + 16);
  EXPECT_EQ(saved.substr(newDirectory, notesEntryLength),
            original.substr(oldDirectory, notesEntryLength));
  EXPECT_EQ(saved.substr(saved.size() - comment.size()), comment);
  TZipReader reader;
  reader.SetFileName(path);
  EXPECT_EQ(reader.MemberNames(), (std::vector<std::string>{"notes.txt", "Data"}));
}

TEST(SafeSaveMembers, BackupsAreKeptRotatedAndRemovedWithTheOldPassword) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  TSaveOptions options;
  options.password = "pw";
  options.backups = 3;
  for (int version = 1; version <= 5; ++version) {
    struct stat before {};
    ::stat(path.c_str(), &before);
    SaveDataArchive(path, "v" + std::to_string(version), options);
    // The backup is the replaced file itself, linked, not copied.
    if (version > 1) {
      struct stat backup {};
      ASSERT_EQ(::stat(dir.File("keys.backup.zip").c_str(), &backup), 0);
      EXPECT_EQ(backup.st_ino, before.st_ino);
    }
  }
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), "pw"), "v4");
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup2.zip"), "pw"), "v3");
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup3.zip"), "pw"), "v2");

  options.backups = 0;
  SaveDataArchive(path, "v6", options);
  EXPECT_EQ(ReadDataMember(dir.File("keys.backup.zip"), "pw"), "v4");

  options.password = "new pw";
  options.passwordChanged = true;
  SaveDataArchive(path, "v7", options);
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"keys.zip"});
  EXPECT_EQ(ReadDataMember(path, "new pw"), "v7");
}

TEST(SafeSaveMembers, FileThatIsNoArchiveGetsNoBackup) {
  TScratchDir dir;
  const std::string path = dir.File("keys.zip");
  WriteWholeFile(path, "PK but no archive at all");
  SaveDataArchive(path, "", "sites");
  EXPECT_EQ(ReadDataMember(path, ""), "sites");
  EXPECT_EQ(FolderContents(dir.Path()), std::vector<std::string>{"keys.zip"});
}

}  // namespace
