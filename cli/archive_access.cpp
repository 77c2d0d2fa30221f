#include "cli/archive_access.h"

#include <optional>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/zip/change_records_member.h"
#include "archive/zip/site_list_member.h"
#include "archive/streams.h"
#include "archive/zip/zip_engine.h"
#include "cli/archive_file.h"
#include "cli/cli_error.h"
#include "cli/password_input.h"
#include "core/secret_wipe.h"
#include "core/text_codec.h"

namespace cli {

namespace {

constexpr int kMaxTerminalPrompts = 3;

const std::string kDamaged = "Cannot extract file - the data is damaged";

bool IsArchiveError(const TItemFailure& failure, TZipErrorCode code) {
  return failure.errorClass == TItemErrorClass::Archive && failure.errorCode == code;
}

// No password was given for an encrypted member.
bool IsMissingPassword(const TItemFailure& failure) {
  return IsArchiveError(failure, TZipErrorCode::InvalidPassword);
}

// A missing or wrong password: the password did not get past the encryption
// header. Anything else got past the password check.
bool IsPasswordFailure(const TItemFailure& failure) {
  return IsMissingPassword(failure) || IsArchiveError(failure, TZipErrorCode::Aborted);
}

std::string FailureMessage(const TItemFailure& failure) {
  if (failure.errorClass == TItemErrorClass::Archive) return ZipErrorMessage(failure.errorCode);
  if (failure.errorClass == TItemErrorClass::StreamFormat) return kDamaged;
  return "Cannot extract file";
}

// A failure to read the file is no question of passwords: either the system
// refused a read (its reason is given) or the member runs past the end of
// the file.
[[noreturn]] void ThrowReadFailure(const TArchiveFile& file) {
  const std::string reason = file.ReadFailure();
  if (!reason.empty()) ThrowCannotRead(file.Given(), reason);
  throw ECliError(kExitNotArchive,
                  kDamaged + " (the member Data runs past the end of " + file.Given() + ")");
}

// One reader on one archive; each attempt extracts "Data" afresh into an
// emptied buffer, so a failed attempt leaves nothing behind. The reader is
// freed without CloseArchive: closing would write an empty file back as an
// archive without members, and reading must never change the file.
class TDataExtractor {
 public:
  explicit TDataExtractor(const TArchiveFile& file) : file_(file) {
    reader_.OnProcessItemFailure = [this](TZipComponent&, const TZipItem&, int, int errorClass,
                                          int errorCode) {
      failure_ = TItemFailure::FromEvent(errorClass, errorCode);
    };
    Open();
  }
  TDataExtractor(const TDataExtractor&) = delete;
  TDataExtractor& operator=(const TDataExtractor&) = delete;

  std::vector<std::string> Members() const { return reader_.MemberNames(); }
  const TZipItem* SiteList() const { return reader_.FindMember(kSiteListMember); }
  bool HasMember(const std::string& name) const { return reader_.FindMember(name) != nullptr; }

  // nullopt on success, else the failure the engine reported; a failure to
  // read the file ends the command.
  std::optional<TItemFailure> TryPassword(const std::string& password) {
    return TryMember(kSiteListMember, password);
  }
  std::optional<TItemFailure> TryMember(const std::string& name, const std::string& password) {
    failure_.reset();
    buffer_.Clear();
    reader_.SetPassword(password);
    reader_.ExtractToStream(name, buffer_);
    if (failure_ && failure_->errorClass == TItemErrorClass::InputOutput) ThrowReadFailure(file_);
    return failure_;
  }
  std::string TakeData() { return buffer_.TakeBytes(); }

 private:
  void Open() {
    try {
      reader_.SetFileName(file_.Path());
    } catch (const EFileError& e) {
      throw ECliError(kExitFailure, e.what());
    } catch (const EZipError& e) {
      throw ECliError(kExitNotArchive, e.what());
    } catch (const EStreamError& e) {
      if (!file_.ReadFailure().empty()) ThrowReadFailure(file_);
      throw ECliError(kExitNotArchive, e.what());
    }
  }

  const TArchiveFile& file_;
  TZipReader reader_;
  TMemoryStream buffer_;
  std::optional<TItemFailure> failure_;
};

// Refuses a site list no real one could be, before anything is inflated or
// a password asked for.
void CheckSiteList(const TZipItem& entry) {
  try {
    CheckSiteListSize(entry);
  } catch (const ESiteListTooLarge& e) {
    throw ECliError(kExitNotArchive, e.what());
  }
  if (EncryptionOf(entry) != TEncryption::None && entry.CompressedSize < kEncryptionHeaderSize) {
    throw ECliError(kExitNotArchive,
                    kDamaged + " (the member Data is shorter than its encryption header)");
  }
}

// What the archive holds, before any member is extracted.
TArchiveContent Describe(const TArchiveFile& file, const TDataExtractor& extractor) {
  TArchiveContent content;
  content.given = file.Given();
  content.path = file.Path();
  content.members = extractor.Members();
  if (const TZipItem* entry = extractor.SiteList()) {
    CheckSiteList(*entry);
    content.hasSiteList = true;
    content.encryption = EncryptionOf(*entry);
    content.dataTime = (std::uint32_t{entry->Date} << 16) | entry->Time;
  }
  return content;
}

// Takes "Data" out of the extractor and, with the same password, the change
// records that describe it; records that do not open or do not match are
// as good as none.
void TakeSiteList(TDataExtractor& extractor, TArchiveContent& content) {
  content.data = extractor.TakeData();
  if (!extractor.HasMember(kChangeRecordsMember)) return;
  try {
    if (extractor.TryMember(kChangeRecordsMember, content.password)) return;
  } catch (const ECliError&) {
    return;  // a records member that runs past the file is no reason to fail
  }
  content.records = ChangeRecordsFor(extractor.TakeData(), content.data);
}

// The byte forms to try for one typed password, in the order to try them.
std::vector<std::string> PasswordForms(const std::string& typed) {
  std::vector<std::string> forms{typed};
  if (auto legacy = LegacyPasswordBytes(typed)) forms.push_back(*legacy);
  return forms;
}

// A member that fails without any password: the file is damaged or uses
// what the engine cannot read.
[[noreturn]] void ThrowUnreadable(const TItemFailure& failure) {
  throw ECliError(kExitNotArchive, FailureMessage(failure));
}

// The encryption header holds a single check byte, so about one wrong
// password in 256 passes it and fails later, in Inflate or the CRC check.
// Such a failure cannot tell a wrong password from a damaged archive, so it
// counts as a wrong password, with the engine's finding added.
[[noreturn]] void ThrowWrongPassword(const TItemFailure& failure) {
  std::string message = ZipErrorMessage(TZipErrorCode::InvalidPassword);
  if (!IsPasswordFailure(failure)) {
    message +=
        "\nvornix-cli: the password passed the archive's first check but the data did "
        "not (" +
        FailureMessage(failure) + "): the password is wrong or the archive is damaged";
  }
  throw ECliError(kExitWrongPassword, message);
}

// Asks for passwords until one opens the member; returns the bytes that did.
std::string FindPassword(TDataExtractor& extractor, TPasswordInput& input, TItemFailure failure) {
  const int prompts = input.Interactive() ? kMaxTerminalPrompts : 1;
  for (int prompt = 0; prompt < prompts; ++prompt) {
    const auto typed = input.Ask("Enter password: ");
    if (!typed || (typed->empty() && input.Interactive())) break;
    std::optional<TItemFailure> pastCheck;
    for (const std::string& form : PasswordForms(*typed)) {
      const auto result = extractor.TryPassword(form);
      if (!result) return form;
      failure = *result;
      if (!IsPasswordFailure(*result)) pastCheck = result;
    }
    if (pastCheck) failure = *pastCheck;
  }
  ThrowWrongPassword(failure);
}

}  // namespace

TArchiveContent ReadArchive(const std::string& path, TPasswordInput& input,
                            const std::string* tryFirst) {
  const TArchiveFile file(path);
  TDataExtractor extractor(file);
  TArchiveContent content = Describe(file, extractor);
  if (!content.hasSiteList) return content;
  if (auto failure = extractor.TryPassword("")) {
    if (!IsMissingPassword(*failure)) ThrowUnreadable(*failure);
    if (tryFirst && !tryFirst->empty() && !extractor.TryPassword(*tryFirst)) {
      content.password = *tryFirst;
    } else {
      content.password = FindPassword(extractor, input, *failure);
    }
  }
  TakeSiteList(extractor, content);
  return content;
}

TArchiveContent ReadArchiveAgain(const TArchiveContent& earlier) {
  const TArchiveFile file(earlier.given, earlier.path);
  TDataExtractor extractor(file);
  TArchiveContent content = Describe(file, extractor);
  // Without a site list the password is the one a new site list gets.
  content.password = earlier.password;
  if (!content.hasSiteList) return content;
  if (content.encryption == TEncryption::None) content.password.clear();
  if (auto failure = extractor.TryPassword(content.password)) {
    if (IsPasswordFailure(*failure)) {
      throw ECliError(kExitWrongPassword, "the archive " + earlier.given +
                                              " was changed by another program and no longer "
                                              "opens with the password given");
    }
    if (content.encryption == TEncryption::None) ThrowUnreadable(*failure);
    ThrowWrongPassword(*failure);
  }
  TakeSiteList(extractor, content);
  return content;
}

TqelPwList TakeSites(TArchiveContent& archive) {
  TqelPwList sites;
  sites.LoadFromText(archive.data);
  WipeString(archive.data);
  return sites;
}

std::string NoSiteListText(const TArchiveContent& archive) {
  return archive.given + " holds no site list (no member Data)";
}

}  // namespace cli
