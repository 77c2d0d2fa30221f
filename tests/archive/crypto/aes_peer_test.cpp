// AES members against the two tools that read and write them: archives made
// by 7z and bsdtar open here with the exact bytes, ours pass both tools, and
// a changed byte, a wrong password or a cut member is refused unread.

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "archive/zip/aes_extra.h"
#include "archive/archive_errors.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

#define REQUIRE_TOOL(name) \
  if (!HaveTool(name)) GTEST_SKIP() << name << " is not installed"

// bsdtar takes UTF-8 passphrases; 7z here refuses non-ASCII ones.
const std::string kUtf8Password = "p\xC3\xA4ss w\xC3\xB6rd \xE2\x82\xAC";

struct TRead {
  std::string data;
  std::vector<int> codes;
  TEncryption encryption = TEncryption::None;
  std::optional<TAesExtra> aes;
};

TRead ReadMember(const std::string& archive, const std::string& member,
                 const std::string& password) {
  TRead read;
  TZipReader reader;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem&, int, int, int code) {
    read.codes.push_back(code);
  };
  reader.SetPassword(password);
  reader.SetFileName(archive);
  if (const TZipItem* item = reader.FindMember(member)) {
    read.encryption = EncryptionOf(*item);
    read.aes = FindAesExtra(item->Extra);
  }
  TMemoryStream buffer;
  reader.ExtractToStream(member, buffer);
  read.data = buffer.Bytes();
  return read;
}

// Members of different kinds: deflatable, incompressible, tiny and empty.
struct TMembers {
  TScratchDir dir;
  std::vector<std::pair<std::string, std::string>> files = {{"Data", SampleText(70000)},
                                                            {"Noise", std::string(3000, '\0')},
                                                            {"S", "short"},
                                                            {"Empty", ""}};
  TMembers() {
    for (std::size_t i = 0; i < 3000; ++i) files[1].second[i] = static_cast<char>(i * 7919 >> 3);
    for (const auto& [name, bytes] : files) WriteWholeFile(dir.File(name), bytes);
  }
  std::string Names() const { return "Data Noise S Empty"; }
};

struct TForeignAes {
  const char* name;
  const char* tool;
  const char* command;  // %P password, %A archive, %N member names
  TEncryption encryption;
  bool utf8;
};

void PrintTo(const TForeignAes& c, std::ostream* os) { *os << c.name; }

std::string Expand(std::string text, const std::string& key, const std::string& value) {
  for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size()))
    text.replace(at, key.size(), value);
  return text;
}

class ForeignAesTest : public ::testing::TestWithParam<TForeignAes> {};

TEST_P(ForeignAesTest, EveryMemberOpensWithTheExactBytes) {
  const TForeignAes& c = GetParam();
  REQUIRE_TOOL(c.tool);
  TMembers m;
  const std::string password = c.utf8 ? kUtf8Password : "pw";
  const std::string archive = m.dir.File("foreign.zip");
  std::string command = Expand(c.command, "%P", ShellQuote(password));
  command = Expand(Expand(command, "%A", ShellQuote(archive)), "%N", m.Names());
  std::string output;
  ASSERT_EQ(RunCommand("cd " + ShellQuote(m.dir.Path()) + " && " + command, &output), 0) << output;
  for (const auto& [name, bytes] : m.files) {
    SCOPED_TRACE(name);
    const TRead read = ReadMember(archive, name, password);
    EXPECT_TRUE(read.codes.empty()) << read.codes.front();
    EXPECT_TRUE(read.data == bytes);
    // bsdtar stores an empty member unencrypted.
    if (!(name == "Empty" && std::string(c.tool) == "bsdtar")) {
      EXPECT_EQ(read.encryption, c.encryption);
    }
  }
  // bsdtar writes AE-1 (CRC checked) from 20 bytes on, AE-2 below.
  if (std::string(c.tool) == "bsdtar") {
    EXPECT_EQ(ReadMember(archive, "Data", password).aes->Version, TAesVendorVersion::Ae1);
    EXPECT_EQ(ReadMember(archive, "S", password).aes->Version, TAesVendorVersion::Ae2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ForeignAesTest,
    ::testing::Values(
        TForeignAes{"SevenZipAes128", "7z", "7z a -tzip -mem=AES128 -p%P %A %N",
                    TEncryption::Aes128, false},
        TForeignAes{"SevenZipAes192Stored", "7z", "7z a -tzip -mx0 -mem=AES192 -p%P %A %N",
                    TEncryption::Aes192, false},
        TForeignAes{"SevenZipAes256", "7z", "7z a -tzip -mem=AES256 -p%P %A %N",
                    TEncryption::Aes256, false},
        TForeignAes{"BsdtarAes256Utf8", "bsdtar",
                    "bsdtar --format zip --options zip:encryption=aes256 --passphrase %P -cf %A %N",
                    TEncryption::Aes256, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Ours, written through the engine's writer.
class OurAesTest : public ::testing::Test {
 protected:
  TScratchDir dir;
  std::string path = dir.File("ours.zip");
  // A new file each time: the writer would add to an existing one.
  void Write(const std::string& data, const std::string& password, bool stored = false) {
    std::remove(path.c_str());
    TMemoryStream buffer(data);
    TZipWriter writer;
    writer.Encryption = TEncryption::Aes256;
    if (stored) writer.CompressionMethodToUse = TCompressionMethodToUse::smStored;
    writer.SetPassword(password);
    writer.SetFileName(path);
    writer.AddFromStream("Data", buffer);
    writer.CloseArchive();
  }
  void ExpectPeersRead(const std::string& data, const std::string& password, bool sevenZip = true) {
    std::string output;
    if (sevenZip && HaveTool("7z")) {
      EXPECT_EQ(RunCommand("7z t -p" + ShellQuote(password) + " " + ShellQuote(path), &output), 0)
          << output;
    }
    if (HaveTool("bsdtar")) {
      const std::string out = dir.File("bsdtar.out");
      EXPECT_EQ(RunCommand("{ bsdtar -xOf " + ShellQuote(path) + " --passphrase " +
                               ShellQuote(password) + " Data > " + ShellQuote(out) + "; }",
                           &output),
                0)
          << output;
      EXPECT_TRUE(ReadWholeFile(out) == data);
    }
  }
};

TEST_F(OurAesTest, DeflatedStoredAndEmptyOpenInThePeersAndHere) {
  REQUIRE_TOOL("7z");
  REQUIRE_TOOL("bsdtar");
  for (const auto& [data, stored] :
       {std::pair{SampleText(300000), false}, std::pair{SampleText(3000), true},
        std::pair{std::string(), false}}) {
    SCOPED_TRACE(data.size());
    Write(data, "pw", stored);
    ExpectPeersRead(data, "pw");
    const TRead read = ReadMember(path, "Data", "pw");
    EXPECT_TRUE(read.codes.empty());
    EXPECT_TRUE(read.data == data);
    EXPECT_EQ(read.encryption, TEncryption::Aes256);
    ASSERT_TRUE(read.aes);
    EXPECT_EQ(read.aes->Version, TAesVendorVersion::Ae2);
  }
  Write(SampleText(5000), kUtf8Password);
  ExpectPeersRead(SampleText(5000), kUtf8Password, false);
}

// The AES member is copied with its extra field when another member is added.
TEST_F(OurAesTest, AddingAMemberKeepsTheAesMemberReadable) {
  REQUIRE_TOOL("7z");
  Write(SampleText(4000), "pw");
  TMemoryStream other(std::string("other"));
  TZipWriter writer;
  writer.SetFileName(path);
  writer.AddFromStream("Other", other);
  writer.CloseArchive();
  std::string output;
  EXPECT_EQ(RunCommand("7z t -ppw " + ShellQuote(path), &output), 0) << output;
  EXPECT_EQ(ReadMember(path, "Data", "pw").data, SampleText(4000));
}

TEST_F(OurAesTest, ChangedEncryptedBytesAreRefusedUnread) {
  const std::string data = SampleText(4000);
  for (bool stored : {false, true}) {
    Write(data, "pw", stored);
    const std::string original = ReadWholeFile(path);
    const std::size_t dataStart = 30 + 4 + 11;  // local header, name, AES extra
    const std::size_t compressed = Le32(original, 18);
    // First and last encrypted byte, and the authentication code.
    for (std::size_t at :
         {dataStart + 18, dataStart + compressed - 11, dataStart + compressed - 1}) {
      std::string f = original;
      f[at] = static_cast<char>(f[at] ^ 0x01);
      WriteWholeFile(path, f);
      const TRead read = ReadMember(path, "Data", "pw");
      EXPECT_EQ(read.codes, std::vector<int>{static_cast<int>(TZipErrorCode::Authentication)})
          << at;
      EXPECT_EQ(read.data.size(), 0u) << at;
    }
  }
}

TEST_F(OurAesTest, WrongPasswordsTakeThePasswordPath) {
  Write(SampleText(2000), "right");
  EXPECT_EQ(ReadMember(path, "Data", "").codes, std::vector<int>{4});
  EXPECT_EQ(ReadMember(path, "Data", "wrong").codes, std::vector<int>{9});
  std::vector<std::string> answers = {"still wrong", "right"};
  TZipReader reader;
  int asked = 0;
  reader.OnNeedPassword = [&](TZipComponent&, std::string& answer) { answer = answers[asked++]; };
  reader.SetPassword("wrong");
  reader.SetFileName(path);
  TMemoryStream buffer;
  reader.ExtractToStream("Data", buffer);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(buffer.Bytes(), SampleText(2000));
}

// A member shorter than its encryption header is damaged, whatever the
// password: no password is asked for.
TEST_F(OurAesTest, MemberShorterThanItsHeaderIsDamaged) {
  for (bool aes : {true, false}) {
    if (aes) {
      Write("some text", "pw");
    } else {
      WriteDataArchive(path, "some text", "pw");
    }
    std::string f = ReadWholeFile(path);
    const std::size_t directory = Le32(f, f.size() - 6);
    const std::uint32_t tooShort = aes ? 27 : 11;
    SetLe32(f, 18, tooShort);
    SetLe32(f, directory + 20, tooShort);
    WriteWholeFile(path, f);
    EXPECT_EQ(ReadMember(path, "Data", "").codes, std::vector<int>{28}) << aes;
  }
}

}  // namespace
