// Fuzz entry for the archive reader: the input bytes are an archive file.
// It is opened and its member "Data" extracted as the window does it, with
// the item-failure handler giving one password once. Every failure must be
// one of the program's errors; anything else (a crash, a sanitizer report,
// a foreign exception) is a finding.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/codec/deflate_helper.h"
#include "archive/streams.h"
#include "archive/zip/zip_engine.h"

namespace {

// One scratch file per process, rewritten for every input and removed at
// exit (libFuzzer may end the process without running destructors, then a
// single file stays behind in the temporary folder).
class TScratchFile {
 public:
  TScratchFile() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vornix-fuzz-XXXXXX.zip";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) std::abort();
    ::close(fd);
    path_ = name.data();
  }
  ~TScratchFile() { ::unlink(path_.c_str()); }
  TScratchFile(const TScratchFile&) = delete;
  TScratchFile& operator=(const TScratchFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

const std::string& ScratchPath() {
  static const TScratchFile file;
  return file.Path();
}

void WriteScratch(const std::uint8_t* data, std::size_t size) {
  TFileStream file(ScratchPath(), TFileStream::Mode::Create);
  file.WriteExact(data, size);
}

void OpenAndExtract() {
  TZipReader reader;
  TMemoryStream buffer;
  int failures = 0;
  reader.OnProcessItemFailure = [&](TZipComponent&, const TZipItem& item, int, int, int) {
    if (++failures > 1) return;
    buffer.Clear();
    reader.SetPassword("fuzz");
    reader.ExtractToStream(item.Name, buffer);
  };
  reader.SetFileName(ScratchPath());
  reader.ExtractToStream("Data", buffer);
  reader.CloseArchive();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteScratch(data, size);
  try {
    OpenAndExtract();
  } catch (const EZipError&) {
  } catch (const EStreamError&) {
  }
  return 0;
}
