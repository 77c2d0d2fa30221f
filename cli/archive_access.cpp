#include "cli/archive_access.h"

#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/safe_save.h"
#include "archive/streams.h"
#include "archive/zip_engine.h"
#include "cli/cli_error.h"
#include "cli/password_input.h"
#include "core/text_codec.h"

namespace cli {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxTerminalPrompts = 3;
constexpr int kErrorClassArchive = 0;
constexpr int kCodeInvalidPassword = 4;
constexpr int kCodeAborted = 9;

struct TFailure {
  int errorClass = 0;
  int errorCode = 0;

  // A missing or wrong password; anything else got past the password check.
  bool IsPassword() const {
    return errorClass == kErrorClassArchive &&
           (errorCode == kCodeInvalidPassword || errorCode == kCodeAborted);
  }
  std::string Message() const {
    switch (errorClass) {
      case kErrorClassArchive:
        return ZipErrorMessage(errorCode);
      case 1:
        return "Cannot extract file - read error " + std::to_string(errorCode);
      case 2:
        return "Cannot extract file - the data is damaged";
      default:
        return "Cannot extract file";
    }
  }
};

// One reader on one archive; each attempt extracts "Data" afresh into an
// emptied buffer, so a failed attempt leaves nothing behind. The reader is
// freed without CloseArchive: closing would write an empty file back as an
// archive without members, and reading must never change the file.
class TDataExtractor {
 public:
  explicit TDataExtractor(const std::string& path) {
    reader_.OnProcessItemFailure = [this](TZipComponent&, const TZipItem&, int, int errorClass,
                                          int errorCode) {
      failure_ = TFailure{errorClass, errorCode};
    };
    Open(path);
  }
  TDataExtractor(const TDataExtractor&) = delete;
  TDataExtractor& operator=(const TDataExtractor&) = delete;

  // nullopt on success, else the failure the engine reported.
  std::optional<TFailure> TryPassword(const std::string& password) {
    failure_.reset();
    buffer_.Clear();
    reader_.SetPassword(password);
    reader_.ExtractToStream("Data", buffer_);
    return failure_;
  }
  std::string TakeData() { return buffer_.TakeBytes(); }

 private:
  void Open(const std::string& path) {
    try {
      reader_.SetFileName(path);
    } catch (const EFileError& e) {
      throw ECliError(kExitFailure, e.what());
    } catch (const EZipError& e) {
      throw ECliError(kExitNotArchive, e.what());
    } catch (const EStreamError& e) {
      throw ECliError(kExitNotArchive, e.what());
    }
  }

  TZipReader reader_;
  TMemoryStream buffer_;
  std::optional<TFailure> failure_;
};

// The byte forms to try for one typed password: as typed, then as
// Windows-1252 when that differs.
std::vector<std::string> PasswordForms(const std::string& typed) {
  std::vector<std::string> forms{typed};
  if (auto cp1252 = Utf8ToCp1252(typed); cp1252 && *cp1252 != typed) forms.push_back(*cp1252);
  return forms;
}

// A member that fails without any password: the file is damaged or uses
// what the engine cannot read.
[[noreturn]] void ThrowUnreadable(const TFailure& failure) {
  throw ECliError(kExitNotArchive, failure.Message());
}

// The encryption header holds a single check byte, so about one wrong
// password in 256 passes it and fails later, in Inflate or the CRC check.
// Such a failure cannot tell a wrong password from a damaged archive, so it
// counts as a wrong password, with the engine's finding added.
[[noreturn]] void ThrowWrongPassword(const TFailure& failure) {
  std::string message = ZipErrorMessage(kCodeInvalidPassword);
  if (!failure.IsPassword()) {
    message +=
        "\nvornix-cli: the password passed the archive's first check but the data did "
        "not (" +
        failure.Message() + "): the password is wrong or the archive is damaged";
  }
  throw ECliError(kExitWrongPassword, message);
}

// Asks for passwords until one opens the member; returns the bytes that did.
std::string FindPassword(TDataExtractor& extractor, TPasswordInput& input, TFailure failure) {
  const int prompts = input.Interactive() ? kMaxTerminalPrompts : 1;
  for (int prompt = 0; prompt < prompts; ++prompt) {
    const auto typed = input.Ask("Enter password: ");
    if (!typed || (typed->empty() && input.Interactive())) break;
    std::optional<TFailure> pastCheck;
    for (const std::string& form : PasswordForms(*typed)) {
      const auto result = extractor.TryPassword(form);
      if (!result) return form;
      failure = *result;
      if (!result->IsPassword()) pastCheck = result;
    }
    if (pastCheck) failure = *pastCheck;
  }
  ThrowWrongPassword(failure);
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
  return fs::absolute(fs::path(path)).lexically_normal().string();
}

TArchiveContent ReadArchive(const std::string& path, TPasswordInput& input) {
  std::error_code ec;
  const fs::path absolute = AbsolutePath(path);
  if (!fs::exists(absolute, ec)) throw ECliError(kExitFailure, path + ": no such file");
  if (!fs::is_regular_file(absolute, ec)) throw ECliError(kExitFailure, path + ": not a file");
  TArchiveContent content;
  content.path = fs::canonical(absolute, ec).string();
  if (ec) content.path = absolute.string();

  TDataExtractor extractor(content.path);
  if (auto failure = extractor.TryPassword("")) {
    if (!(failure->errorClass == kErrorClassArchive &&
          failure->errorCode == kCodeInvalidPassword)) {
      ThrowUnreadable(*failure);
    }
    content.password = FindPassword(extractor, input, *failure);
  }
  content.data = extractor.TakeData();
  return content;
}

TqelPwList SitesOf(const TArchiveContent& archive) {
  TqelPwList sites;
  sites.LoadFromText(archive.data);
  return sites;
}

void SaveData(const std::string& path, const std::string& password, const std::string& data) {
  try {
    SaveDataArchive(path, password, data);
  } catch (const std::exception& e) {
    throw ECliError(kExitFailure, e.what());
  }
}

void SaveSites(const std::string& path, const std::string& password, const TqelPwList& sites) {
  SaveData(path, password, sites.SaveToText());
}

bool HasArchiveExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".zip";
}

}  // namespace cli
