#pragma once
// Shared helpers of the archive tests: a scratch folder, whole-file
// reading and writing, running peer tools, and building archives by hand.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/storage/safe_save_hook.h"
#include "archive/streams.h"

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TScratchDir {
 public:
  TScratchDir();
  ~TScratchDir();
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets the safe save's seam for one test and clears it again.
class THookGuard {
 public:
  explicit THookGuard(std::function<void(const std::string&)> hook) {
    SafeSaveTempCreatedHook() = std::move(hook);
  }
  ~THookGuard() { SafeSaveTempCreatedHook() = nullptr; }
  THookGuard(const THookGuard&) = delete;
  THookGuard& operator=(const THookGuard&) = delete;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

// True when the program can be found on PATH.
bool HaveTool(const std::string& name);
// Runs a shell command; returns its exit status and puts stdout+stderr in output.
int RunCommand(const std::string& command, std::string* output = nullptr);
// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

std::uint16_t Le16(const std::string& bytes, std::size_t offset);
std::uint32_t Le32(const std::string& bytes, std::size_t offset);
void SetLe16(std::string& bytes, std::size_t offset, std::uint16_t value);
void SetLe32(std::string& bytes, std::size_t offset, std::uint32_t value);

// Text that deflates well, of the given length.
std::string SampleText(std::size_t length);

// A stream over a text whose reads fail once failAfter bytes were read.
class TFailingStream final : public TStream {
 public:
  TFailingStream(std::string bytes, std::size_t failAfter)
      : inner_(std::move(bytes)), failAfter_(failAfter) {}
  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
  std::int64_t Size() override { return inner_.Size(); }

 private:
  TMemoryStream inner_;
  std::size_t failAfter_;
  std::size_t delivered_ = 0;
};

// The member "Data" of an archive as the engine's reader extracts it.
std::string ReadDataMember(const std::string& path, const std::string& password);
// Any member, the same way; empty when it is missing or does not open.
std::string ReadNamedMember(const std::string& path, const std::string& name,
                            const std::string& password);

// The names in a folder, sorted.
std::vector<std::string> FolderContents(const std::string& folder);

// Writes an archive with the member "Data" through the engine's writer.
void WriteDataArchive(const std::string& path, const std::string& data, const std::string& password,
                      bool stored = false);
