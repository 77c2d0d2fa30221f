// Interchange with other ZIP tools: what the writer makes opens and tests
// with unzip, 7z and Python's zipfile; what they make opens here.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/zip/zip_engine.h"
#include "tests/archive/support/archive_test_support.h"

namespace {

#define REQUIRE_TOOL(name) \
  if (!HaveTool(name)) GTEST_SKIP() << name << " is not installed"

struct TPeerCase {
  const char* name;
  std::size_t size;
  std::string password;
  bool stored;
};

void PrintTo(const TPeerCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const ::testing::TestParamInfo<TPeerCase>& info) { return info.param.name; }

const auto kOurArchives = ::testing::Values(
    TPeerCase{"DeflatedEncrypted", 3000, "pw", false}, TPeerCase{"DeflatedPlain", 3000, "", false},
    TPeerCase{"StoredEncrypted", 3000, "pw", true}, TPeerCase{"StoredPlain", 3000, "", true},
    TPeerCase{"EmptyEncrypted", 0, "pw", false}, TPeerCase{"EmptyPlain", 0, "", false},
    TPeerCase{"LargeEncrypted", 300000, "pw", false}, TPeerCase{"LargePlain", 300000, "", false});

class OursOpenElsewhereTest : public ::testing::TestWithParam<TPeerCase> {
 protected:
  TScratchDir dir;
  std::string path = dir.File("ours.zip");
  std::string data;
  void SetUp() override {
    data = SampleText(GetParam().size);
    WriteDataArchive(path, data, GetParam().password, GetParam().stored);
  }
};

TEST_P(OursOpenElsewhereTest, Unzip) {
  REQUIRE_TOOL("unzip");
  std::string pw = GetParam().password.empty() ? "" : " -P " + ShellQuote(GetParam().password);
  std::string output;
  EXPECT_EQ(RunCommand("unzip" + pw + " -t " + ShellQuote(path), &output), 0) << output;
  ASSERT_EQ(
      RunCommand("unzip" + pw + " -o -q " + ShellQuote(path) + " -d " + ShellQuote(dir.File("out")),
                 &output),
      0)
      << output;
  EXPECT_EQ(ReadWholeFile(dir.File("out/Data")), data);
}

TEST_P(OursOpenElsewhereTest, SevenZip) {
  REQUIRE_TOOL("7z");
  std::string pw = GetParam().password.empty() ? "" : " -p" + ShellQuote(GetParam().password);
  std::string output;
  EXPECT_EQ(RunCommand("7z t" + pw + " " + ShellQuote(path), &output), 0) << output;
  ASSERT_EQ(
      RunCommand("7z x -y" + pw + " -o" + ShellQuote(dir.File("7out")) + " " + ShellQuote(path),
                 &output),
      0)
      << output;
  EXPECT_EQ(ReadWholeFile(dir.File("7out/Data")), data);
}

INSTANTIATE_TEST_SUITE_P(Peers, OursOpenElsewhereTest, kOurArchives, CaseName);

// Python's zipfile cannot decrypt, so it checks the plain archives only.
class PythonReadsOursTest : public OursOpenElsewhereTest {};

TEST_P(PythonReadsOursTest, TestzipAndRead) {
  REQUIRE_TOOL("python3");
  std::string script =
      "import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1])\n"
      "assert z.testzip() is None\n"
      "sys.stdout.buffer.write(z.read('Data'))\n";
  WriteWholeFile(dir.File("check.py"), script);
  std::string output;
  ASSERT_EQ(RunCommand("python3 " + ShellQuote(dir.File("check.py")) + " " + ShellQuote(path) +
                           " 2>/dev/null",
                       &output),
            0);
  EXPECT_EQ(output, data);
}

INSTANTIATE_TEST_SUITE_P(Peers, PythonReadsOursTest,
                         ::testing::Values(TPeerCase{"DeflatedPlain", 3000, "", false},
                                           TPeerCase{"StoredPlain", 3000, "", true},
                                           TPeerCase{"EmptyPlain", 0, "", false},
                                           TPeerCase{"LargePlain", 300000, "", false}),
                         CaseName);
// How another tool makes the archive; the member's name comes out as given.
struct TForeignCase {
  const char* name;
  const char* tool;
  const char* command;  // %A archive, %D folder holding the file "Data"
  const char* member;
  std::string password;
  std::size_t size;
  int flagBit3;  // -1 any, else expected state of bit 3
};

std::string Expand(std::string command, const std::string& archive, const std::string& folder) {
  for (auto [key, value] : {std::pair<std::string, std::string>{"%A", ShellQuote(archive)},
                            {"%D", ShellQuote(folder)}}) {
    for (auto at = command.find(key); at != std::string::npos; at = command.find(key))
      command.replace(at, key.size(), value);
  }
  return command;
}

void PrintTo(const TForeignCase& c, std::ostream* os) { *os << c.name; }

class ForeignOpenHereTest : public ::testing::TestWithParam<TForeignCase> {};

TEST_P(ForeignOpenHereTest, ExactMemberBytes) {
  const TForeignCase& c = GetParam();
  REQUIRE_TOOL(c.tool);
  TScratchDir dir;
  std::string data = SampleText(c.size);
  WriteWholeFile(dir.File("Data"), data);
  std::string archive = dir.File("foreign.zip");
  std::string output;
  ASSERT_EQ(RunCommand(Expand(c.command, archive, dir.Path()), &output), 0) << output;
  std::string f = ReadWholeFile(archive);
  if (c.flagBit3 >= 0) {
    EXPECT_EQ((Le16(f, 6) >> 3) & 1, c.flagBit3);
  }
  TZipReader reader;
  std::vector<int> codes;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem&, int, int, int code) {
    codes.push_back(code);
  };
  reader.SetPassword(c.password);
  reader.SetFileName(archive);
  TMemoryStream buffer;
  reader.ExtractToStream(c.member, buffer);
  EXPECT_TRUE(codes.empty()) << codes.front();
  EXPECT_EQ(buffer.Bytes(), data);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ForeignOpenHereTest,
    ::testing::Values(
        TForeignCase{"ZipEncryptedDeflated", "zip", "cd %D && zip -q -P pw %A Data", "Data", "pw",
                     5000, 1},
        TForeignCase{"ZipEncryptedStored", "zip", "cd %D && zip -q -0 -P pw %A Data", "Data", "pw",
                     5000, 1},
        TForeignCase{"ZipPlainDeflated", "zip", "cd %D && zip -q %A Data", "Data", "", 5000, 0},
        TForeignCase{"ZipPlainStored", "zip", "cd %D && zip -q -0 %A Data", "Data", "", 5000, 0},
        TForeignCase{"ZipStreamedPlain", "zip", "cd %D && zip -q -fz- - - < Data | cat > %A", "-",
                     "", 5000, 1},
        TForeignCase{"ZipStreamedEncrypted", "zip",
                     "cd %D && zip -q -fz- -P pw - - < Data | cat > %A", "-", "pw", 5000, 1},
        TForeignCase{"ZipLarge", "zip", "cd %D && zip -q -P pw %A Data", "Data", "pw", 400000, 1},
        TForeignCase{"SevenZipCryptoDeflated", "7z",
                     "cd %D && 7z a -tzip -mem=ZipCrypto -ppw %A Data", "Data", "pw", 5000, 0},
        TForeignCase{"SevenZipCryptoStored", "7z",
                     "cd %D && 7z a -tzip -mx=0 -mem=ZipCrypto -ppw %A Data", "Data", "pw", 5000,
                     0},
        TForeignCase{"PythonDeflated", "python3",
                     "cd %D && python3 -c \"import zipfile; "
                     "zipfile.ZipFile('foreign.zip','w',zipfile.ZIP_DEFLATED).write('Data')\"",
                     "Data", "", 5000, 0},
        TForeignCase{"PythonStored", "python3",
                     "cd %D && python3 -c \"import zipfile; "
                     "zipfile.ZipFile('foreign.zip','w',zipfile.ZIP_STORED).write('Data')\"",
                     "Data", "", 5000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Deflate64 members declare version 2.1, above what the reader accepts; with
// that field lowered the method-9 path decodes them.
TEST(Deflate64Peer, RefusedByVersionAndDecodedWhenAllowed) {
  REQUIRE_TOOL("7z");
  TScratchDir dir;
  std::string data = SampleText(200000);
  WriteWholeFile(dir.File("Data"), data);
  std::string archive = dir.File("d64.zip");
  std::string output;
  ASSERT_EQ(RunCommand("cd " + ShellQuote(dir.Path()) + " && 7z a -tzip -mm=Deflate64 " +
                           ShellQuote(archive) + " Data",
                       &output),
            0)
      << output;
  auto extract = [&](std::vector<int>& codes) {
    TZipReader reader;
    reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem&, int, int, int code) {
      codes.push_back(code);
    };
    reader.SetFileName(archive);
    TMemoryStream buffer;
    reader.ExtractToStream("Data", buffer);
    return buffer.Bytes();
  };
  std::vector<int> codes;
  EXPECT_EQ(extract(codes), "");
  EXPECT_EQ(codes, std::vector<int>{1});

  std::string f = ReadWholeFile(archive);
  ASSERT_EQ(Le16(f, 8), 9);
  std::size_t directory = Le32(f, f.size() - 6);
  SetLe16(f, 4, 20);
  SetLe16(f, directory + 6, 20);
  WriteWholeFile(archive, f);
  codes.clear();
  EXPECT_EQ(extract(codes), data);
  EXPECT_TRUE(codes.empty());
}

}  // namespace
