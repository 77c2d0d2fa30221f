// The reader and writer components: passwords, events, retries from inside
// the event, member lookup and the writer's refusals.

#include "archive/zip/zip_engine.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/zip/zip_archive.h"
#include "archive/crypto/zip_crypto.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

struct TEvent {
  int processType;
  int errorClass;
  int errorCode;
  std::string name;
};

// A reader whose item failures are recorded.
struct TRecordingReader {
  TZipReader reader;
  std::vector<TEvent> events;
  TRecordingReader() {
    reader.OnProcessItemFailure = [this](TZipComponent&, const TZipItem& item, int p, int c,
                                         int e) {
      events.push_back({p, c, e, item.Name});
    };
  }
};

// A password that fails the header check of the archive's first member (one
// password in 256 passes it by chance, so the test picks one that does not).
std::string FailingPassword(const std::string& path) {
  std::string f = ReadWholeFile(path);
  std::array<std::uint8_t, 12> header{};
  std::copy(f.begin() + 34, f.begin() + 46, header.begin());
  std::uint32_t check = static_cast<std::uint32_t>(Le16(f, 10)) << 16;
  for (int i = 0;; ++i) {
    std::string candidate = "wrong" + std::to_string(i);
    if (!TZipCipher().VerifyHeader(header, candidate, check)) return candidate;
  }
}

class ZipEngineTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string path = dir.File("site.zip");
  std::string data = SampleText(2500);
};

TEST_F(ZipEngineTest, PlainArchiveReadsWithoutAnyEvent) {
  WriteDataArchive(path, data, "");
  TRecordingReader r;
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(buffer.Bytes(), data);
  EXPECT_TRUE(r.events.empty());
}

TEST_F(ZipEngineTest, NoPasswordGivesCodeFourAndWrongPasswordCodeNine) {
  WriteDataArchive(path, data, "right");
  TRecordingReader r;
  r.reader.SetFileName(path);
  TMemoryStream buffer("kept");
  buffer.Seek(0, SeekOrigin::End);
  r.reader.ExtractToStream("Data", buffer);
  r.reader.SetPassword(FailingPassword(path));
  r.reader.ExtractToStream("Data", buffer);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].processType, 2);
  EXPECT_EQ(r.events[0].errorClass, 0);
  EXPECT_EQ(r.events[0].errorCode, 4);
  EXPECT_EQ(r.events[0].name, "Data");
  EXPECT_EQ(r.events[1].errorCode, 9);
  EXPECT_EQ(buffer.Bytes(), "kept");
}

// What the window does: each failure clears the buffer and extracts again
// from inside the event, first with a wrong password, then the right one.
TEST_F(ZipEngineTest, RetryFromInsideTheEventLeavesTheDataOnce) {
  WriteDataArchive(path, data, "right");
  const std::string wrong = FailingPassword(path);
  TZipReader reader;
  TMemoryStream buffer;
  std::vector<int> codes;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int, int, int code) {
    codes.push_back(code);
    if (codes.size() > 3) return;
    buffer.Clear();
    reader.SetPassword(codes.size() == 1 ? wrong : "right");
    reader.ExtractToStream(item.Name, buffer);
  };
  reader.SetFileName(path);
  reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(codes, (std::vector<int>{4, 9}));
  EXPECT_EQ(buffer.Bytes(), data);
  reader.CloseArchive();
}

TEST_F(ZipEngineTest, HandlerMayCloseTheArchiveDuringTheEvent) {
  WriteDataArchive(path, data, "right");
  TZipReader reader;
  std::string seen;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int, int, int) {
    reader.CloseArchive();
    seen = item.Name;  // the event's item outlives the archive
  };
  reader.SetFileName(path);
  TMemoryStream buffer;
  reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(seen, "Data");
  EXPECT_THROW(reader.ExtractToStream("Data", buffer), EZipError);
}

TEST_F(ZipEngineTest, NeedPasswordHandlerSuppliesThePassword) {
  WriteDataArchive(path, data, "right");
  TRecordingReader r;
  int asked = 0;
  r.reader.OnNeedPassword = [&](TZipComponent&, std::string& answer) {
    ++asked;
    answer = "right";
  };
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(buffer.Bytes(), data);
  EXPECT_TRUE(r.events.empty());
  EXPECT_EQ(r.reader.Password(), "right");
}

TEST_F(ZipEngineTest, WrongAnswersStopAfterThePasswordRetries) {
  WriteDataArchive(path, data, "right");
  const std::string wrong = FailingPassword(path);
  TRecordingReader r;
  int asked = 0;
  r.reader.OnNeedPassword = [&](TZipComponent&, std::string& answer) {
    ++asked;
    answer = wrong;
  };
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(asked, 1 + 3);  // the first password, then three retries
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].errorCode, 4);
  EXPECT_EQ(buffer.Size(), 0);
}

TEST_F(ZipEngineTest, CorruptStoredByteFailsTheCrcButTheDataIsWritten) {
  for (const std::string password : {"", "pw"}) {
    WriteDataArchive(path, "hello world", password, true);
    std::string f = ReadWholeFile(path);
    f[34 + (password.empty() ? 0 : 12) + 3] ^= 0x20;
    WriteWholeFile(path, f);
    TRecordingReader r;
    r.reader.SetPassword(password);
    r.reader.SetFileName(path);
    TMemoryStream buffer;
    r.reader.ExtractToStream("Data", buffer);
    ASSERT_EQ(r.events.size(), 1u) << password;
    EXPECT_EQ(r.events[0].errorClass, 0);
    EXPECT_EQ(r.events[0].errorCode, 23);
    EXPECT_EQ(buffer.Size(), 11);
    EXPECT_NE(buffer.Bytes(), "hello world");
  }
}

// The data is inflated straight into an empty buffer; a member that fails
// half-way must still leave nothing there, and a filled buffer untouched.
TEST_F(ZipEngineTest, DataCutShortLeavesTheBufferAsItWas) {
  const std::string big = SampleText(400000);
  WriteDataArchive(path, big, "");
  std::string f = ReadWholeFile(path);
  const std::size_t directory = Le32(f, f.size() - 6);
  SetLe32(f, directory + 20, Le32(f, directory + 20) / 2);
  WriteWholeFile(path, f);
  for (const std::string before : {"", "kept"}) {
    TRecordingReader r;
    r.reader.SetFileName(path);
    TMemoryStream buffer(before);
    buffer.Seek(0, SeekOrigin::End);
    r.reader.ExtractToStream("Data", buffer);
    ASSERT_EQ(r.events.size(), 1u);
    EXPECT_EQ(buffer.Bytes(), before);
  }
}

TEST_F(ZipEngineTest, MissingMemberExtractsNothingAndCallsNoHandler) {
  WriteDataArchive(path, data, "pw");
  TRecordingReader r;
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("Other", buffer);
  EXPECT_EQ(buffer.Size(), 0);
  EXPECT_TRUE(r.events.empty());
}

TEST_F(ZipEngineTest, LookupIgnoresAsciiCase) {
  WriteDataArchive(path, data, "");
  TRecordingReader r;
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("dAtA", buffer);
  EXPECT_EQ(buffer.Bytes(), data);
}

struct TPatchCase {
  const char* name;
  std::size_t localOffset;  // field in the local header, patched in the directory too
  std::size_t dirOffset;
  std::uint16_t value;
  int expectedCode;
};

void PrintTo(const TPatchCase& c, std::ostream* os) { *os << c.name; }

class HeaderFieldTest : public ::testing::TestWithParam<TPatchCase> {};

TEST_P(HeaderFieldTest, RefusedWithItsCode) {
  TScratchDir dir;
  std::string path = dir.File("a.zip");
  WriteDataArchive(path, "some text", "", true);
  std::string f = ReadWholeFile(path);
  const std::size_t directory = 34 + 9;
  SetLe16(f, GetParam().localOffset, GetParam().value);
  SetLe16(f, directory + GetParam().dirOffset, GetParam().value);
  WriteWholeFile(path, f);
  TRecordingReader r;
  r.reader.SetFileName(path);
  TMemoryStream buffer;
  r.reader.ExtractToStream("Data", buffer);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].errorCode, GetParam().expectedCode);
  EXPECT_EQ(buffer.Size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Fields, HeaderFieldTest,
                         ::testing::Values(TPatchCase{"NewerVersion", 4, 6, 45, 1},
                                           TPatchCase{"NewerVersionLowByte", 4, 6, 0x0315, 1},
                                           TPatchCase{"Bzip2Method", 8, 10, 12, 2},
                                           TPatchCase{"ShrunkMethod", 8, 10, 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZipEngineErrors, ErrorTable) {
  EXPECT_STREQ(ZipErrorMessage(TZipErrorCode::CrcFailed), "Failed CRC Check");
  EXPECT_STREQ(ZipErrorMessage(TZipErrorCode::NoArchive),
               "Archive does not exist - FileName is blank");
  EXPECT_STREQ(ZipErrorMessage(TZipErrorCode::UnhandledType), "Unhandled Archive Type");
  try {
    ThrowZipError(TZipErrorCode::DuplicateName);
  } catch (const EZipError& e) {
    EXPECT_EQ(e.Code(), TZipErrorCode::DuplicateName);
    EXPECT_STREQ(e.what(), "Cannot insert file - duplicates stored name");
  }
}

void ExpectZipError(const std::function<void()>& action, const std::string& text) {
  try {
    action();
    ADD_FAILURE() << "no error, expected " << text;
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), text);
  }
}

TEST_F(ZipEngineTest, ReaderRefusalsHaveTheProgramsTexts) {
  WriteDataArchive(path, data, "");
  WriteWholeFile(dir.File("copy.dat"), ReadWholeFile(path));
  WriteWholeFile(dir.File("text.zip"), "just some text that is long enough");
  WriteWholeFile(dir.File("pk.zip"), "PK but nothing more of an archive");
  TZipReader reader;
  TMemoryStream buffer;
  ExpectZipError([&] { reader.ExtractToStream("Data", buffer); },
                 "Archive does not exist - FileName is blank");
  ExpectZipError([&] { reader.SetFileName(dir.File("copy.dat")); }, "Unhandled Archive Type");
  ExpectZipError([&] { reader.SetFileName(dir.File("text.zip")); }, "Unhandled Archive Type");
  ExpectZipError([&] { reader.SetFileName(dir.File("pk.zip")); }, "Unhandled Archive Type");
  // A multi-part marker without an end record: the other parts are missing.
  WriteWholeFile(dir.File("part.zip"), std::string("PK00", 4) + std::string(40, 'x'));
  ExpectZipError([&] { reader.SetFileName(dir.File("part.zip")); }, "File not found");
  reader.SetFileName(dir.File("missing.zip"));
  ExpectZipError([&] { reader.ExtractToStream("Data", buffer); },
                 "Archive does not exist - FileName is blank");
}

TEST_F(ZipEngineTest, LoadErrorsOfFilesThatPassTheTypeTest) {
  // The type test accepts a "PK" file by its end record; a broken directory
  // is then a load error.
  WriteDataArchive(path, data, "");
  std::string f = ReadWholeFile(path);
  SetLe32(f, f.size() - 6, 3);  // directory offset into the local header
  WriteWholeFile(path, f);
  TZipReader reader;
  ExpectZipError([&] { reader.SetFileName(path); }, "Invalid file - not a PKZip file");
}

TEST_F(ZipEngineTest, WriterRefusesOtherExtensionsAndRelativePaths) {
  TZipWriter writer;
  ExpectZipError([&] { writer.SetFileName(dir.File("new.dat")); }, "Unhandled Archive Type");
  ExpectZipError([&] { writer.SetFileName("new.zip"); }, "Full Path Required");
  TMemoryStream buffer("x");
  ExpectZipError([&] { writer.AddFromStream("Data", buffer); },
                 "Archive does not exist - FileName is blank");
}

TEST_F(ZipEngineTest, WriterRefusesADuplicateAndLeavesTheFile) {
  WriteDataArchive(path, data, "pw");
  const std::string before = ReadWholeFile(path);
  TZipWriter writer;
  std::vector<TEvent> events;
  writer.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int p, int c, int e) {
    events.push_back({p, c, e, item.Name});
  };
  writer.SetPassword("pw");
  writer.SetFileName(path);
  TMemoryStream buffer("new data");
  writer.AddFromStream("DATA", buffer);
  writer.CloseArchive();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].processType, 0);
  EXPECT_EQ(events[0].errorCode, 7);
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST_F(ZipEngineTest, WriterAddsToAnExistingArchiveKeepingItsMember) {
  WriteDataArchive(path, data, "pw");
  {
    TZipWriter writer;
    writer.SetPassword("pw");
    writer.SetFileName(path);
    TMemoryStream buffer("second");
    writer.AddFromStream("Other", buffer);
  }
  TRecordingReader r;
  r.reader.SetPassword("pw");
  r.reader.SetFileName(path);
  TMemoryStream first, second;
  r.reader.ExtractToStream("Data", first);
  r.reader.ExtractToStream("Other", second);
  EXPECT_EQ(first.Bytes(), data);
  EXPECT_EQ(second.Bytes(), "second");
  EXPECT_TRUE(r.events.empty());
}

TEST_F(ZipEngineTest, ClosingTheWriterAfterTheAddWritesNothingMore) {
  TZipWriter writer;
  writer.SetFileName(path);
  TMemoryStream buffer(data);
  writer.AddFromStream("Data", buffer);
  const std::string afterAdd = ReadWholeFile(path);
  writer.CloseArchive();
  EXPECT_EQ(ReadWholeFile(path), afterAdd);
  EXPECT_EQ(writer.FileName(), "");
}

// A source that breaks while the member is produced: the member is left
// out with the event (add, class 4, code 0), the archive is still written.
TEST_F(ZipEngineTest, FailingSourceLeavesTheMemberOut) {
  for (std::size_t failAfter : {0u, 10u, 1500u}) {
    for (auto method : {TCompressionMethodToUse::smStored, TCompressionMethodToUse::smBestMethod}) {
      TZipWriter writer;
      std::vector<TEvent> events;
      writer.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int p, int c, int e) {
        events.push_back({p, c, e, item.Name});
      };
      writer.CompressionMethodToUse = method;
      writer.SetPassword("pw");
      writer.SetFileName(path);
      TFailingStream source(data, failAfter);
      writer.AddFromStream("Data", source);
      writer.CloseArchive();
      ASSERT_EQ(events.size(), 1u) << failAfter;
      EXPECT_EQ(events[0].processType, 0);
      EXPECT_EQ(events[0].errorClass, 4);
      EXPECT_EQ(events[0].errorCode, 0);
      EXPECT_EQ(ReadWholeFile(path).size(), 22u);
      std::remove(path.c_str());
    }
  }
}

// 100 bytes that deflate to between 89 and 100: encrypted, the header makes
// them larger than the text and they are stored; plain, they stay deflated.
// Random bytes with a run of one byte are tried until the run is just long
// enough.
TEST_F(ZipEngineTest, BestMethodCountsTheEncryptionHeader) {
  TScratchDir scratch;
  std::string plainPath = scratch.File("plain.zip");
  std::string text;
  std::uint32_t deflated = 0;
  for (std::size_t run = 0; run < 60 && deflated == 0; ++run) {
    std::uint32_t seed = 7;
    text.clear();
    for (std::size_t i = 0; i < 100 - run; ++i) {
      seed = seed * 1103515245u + 12345u;
      text.push_back(static_cast<char>(seed >> 23));
    }
    text += std::string(run, 'z');
    std::remove(plainPath.c_str());
    WriteDataArchive(plainPath, text, "");
    std::string plain = ReadWholeFile(plainPath);
    if (Le16(plain, 8) == 8) deflated = Le32(plain, 18);
  }
  ASSERT_GE(deflated + 12, 101u) << "no sample deflating to 89..100 bytes";
  WriteDataArchive(scratch.File("enc.zip"), text, "pw");
  std::string enc = ReadWholeFile(scratch.File("enc.zip"));
  EXPECT_EQ(Le16(enc, 8), 0);
  EXPECT_EQ(Le32(enc, 18), 112u);
}

}  // namespace
