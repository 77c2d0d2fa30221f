#include "tests/archive/support/archive_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/zip/zip_engine.h"

TScratchDir::TScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vornix-zip-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = name.data();
}

TScratchDir::~TScratchDir() {
  std::error_code ignored;
  // Folders made read-only by a test must become writable to be removed.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool HaveTool(const std::string& name) {
  return RunCommand("command -v " + ShellQuote(name) + " >/dev/null 2>&1") == 0;
}

int RunCommand(const std::string& command, std::string* output) {
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  std::array<char, 4096> chunk{};
  std::string text;
  while (std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe))
    text.append(chunk.data(), got);
  int status = ::pclose(pipe);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::uint16_t Le16(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                    (static_cast<unsigned char>(bytes.at(offset + 1)) << 8));
}

std::uint32_t Le32(const std::string& bytes, std::size_t offset) {
  return Le16(bytes, offset) | (static_cast<std::uint32_t>(Le16(bytes, offset + 2)) << 16);
}

void SetLe16(std::string& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<char>(value & 0xFF);
  bytes.at(offset + 1) = static_cast<char>(value >> 8);
}

void SetLe32(std::string& bytes, std::size_t offset, std::uint32_t value) {
  SetLe16(bytes, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  SetLe16(bytes, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string SampleText(std::size_t length) {
  std::string text;
  for (int i = 0; text.size() < length; ++i) {
    text += "Site" + std::to_string(i) + "=user" + std::to_string(i % 7) + "\tpw-" +
            std::to_string(i * 7919 % 1000) + "\thttps://example.org/\tnote\r\n";
  }
  text.resize(length);
  return text;
}

std::size_t TFailingStream::Read(void* buffer, std::size_t count) {
  if (delivered_ >= failAfter_) throw EStreamError("Stream read error");
  std::size_t allowed = std::min(count, failAfter_ - delivered_);
  std::size_t got = inner_.Read(buffer, allowed);
  delivered_ += got;
  return got;
}

std::size_t TFailingStream::Write(const void* buffer, std::size_t count) {
  return inner_.Write(buffer, count);
}

std::int64_t TFailingStream::Seek(std::int64_t offset, SeekOrigin origin) {
  return inner_.Seek(offset, origin);
}

void WriteDataArchive(const std::string& path, const std::string& data, const std::string& password,
                      bool stored) {
  TMemoryStream buffer(data);
  TZipWriter writer;
  if (stored) writer.CompressionMethodToUse = TCompressionMethodToUse::smStored;
  writer.SetPassword(password);
  writer.SetFileName(path);
  writer.AddFromStream("Data", buffer);
  writer.CloseArchive();
}

std::string ReadDataMember(const std::string& path, const std::string& password) {
  return ReadNamedMember(path, "Data", password);
}

std::string ReadNamedMember(const std::string& path, const std::string& name,
                            const std::string& password) {
  TZipReader reader;
  reader.SetPassword(password);
  reader.SetFileName(path);
  TMemoryStream buffer;
  reader.ExtractToStream(name, buffer);
  return buffer.Bytes();
}

std::vector<std::string> FolderContents(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
