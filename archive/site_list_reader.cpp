#include "archive/site_list_reader.h"

#include "archive/archive_errors.h"
#include "archive/streams.h"
#include "archive/zip/change_records_member.h"
#include "archive/zip/hardened_extra.h"
#include "archive/zip/site_list_member.h"
#include "archive/zip/zip_records.h"
#include "core/text_codec.h"

namespace {

const char kDamaged[] = "Cannot extract file - the data is damaged";

bool IsArchiveError(const TItemFailure& failure, TZipErrorCode code) {
  return failure.errorClass == TItemErrorClass::Archive && failure.errorCode == code;
}

TReadVerdict VerdictOf(const TItemFailure& item, const std::string& password,
                       TEncryption encryption) {
  if (item.errorClass == TItemErrorClass::InputOutput) return TReadVerdict::Unreadable;
  if (encryption == TEncryption::None) return TReadVerdict::Damaged;
  if (IsArchiveError(item, TZipErrorCode::InvalidPassword)) {
    return password.empty() ? TReadVerdict::NoPassword : TReadVerdict::WrongPassword;
  }
  if (IsArchiveError(item, TZipErrorCode::Aborted)) return TReadVerdict::WrongPassword;
  return TReadVerdict::FailedAfterCheck;
}

// One archive, one member, tried with one password after another; each
// attempt starts on an emptied buffer, so a failed one leaves nothing.
class TAttempts {
 public:
  TAttempts(TZipReader& reader, TMemoryStream& buffer, const TZipItem& entry)
      : reader_(reader), buffer_(buffer), encryption_(EncryptionOf(entry)) {
    // A member shorter than its encryption header cannot open with any
    // password: nothing is extracted from it.
    if (encryption_ != TEncryption::None && entry.CompressedSize < kEncryptionHeaderSize) {
      truncated_ = TReadFailure{TReadVerdict::Damaged, {}, "the member Data is shorter than its encryption header"};
    }
    if (encryption_ == TEncryption::Aes256Hardened) {
      THardenedRecord record = FindHardenedRecord(entry.Extra).value_or(THardenedRecord{});
      if (record.params) {
        hardened_ = std::move(record.params);
      } else {
        truncated_ = TReadFailure{TReadVerdict::Damaged, {}, "the member Data has a bad key record: " + record.problem};
      }
    }
    reader_.OnProcessItemFailure = [this](TZipComponent&, const TZipItem&, int, int errorClass,
                                          int errorCode) {
      item_ = TItemFailure::FromEvent(errorClass, errorCode);
    };
  }
  ~TAttempts() { reader_.OnProcessItemFailure = nullptr; }
  TAttempts(const TAttempts&) = delete;
  TAttempts& operator=(const TAttempts&) = delete;

  TEncryption Encryption() const { return encryption_; }
  const std::optional<THardenedParams>& Hardened() const { return hardened_; }

  std::optional<TReadFailure> Try(const std::string& password) {
    if (truncated_) return truncated_;
    item_.reset();
    buffer_.Clear();
    reader_.SetPassword(password);
    reader_.ExtractToStream(kSiteListMember, buffer_);
    if (!item_) return std::nullopt;
    return TReadFailure{VerdictOf(*item_, password, encryption_), *item_, {}};
  }

 private:
  TZipReader& reader_;
  TMemoryStream& buffer_;
  TEncryption encryption_;
  std::optional<TReadFailure> truncated_;
  std::optional<THardenedParams> hardened_;
  std::optional<TItemFailure> item_;
};

// One way to try a typed password: its bytes, and the ZIP password they
// give.
struct TPasswordForm {
  TSecretBytes typed;
  TSecretBytes zip;
};

// Turns typed passwords into ZIP passwords: a hardened archive's is the key
// derived from the UTF-8 form alone; any other archive's is the form itself.
class TZipPasswords {
 public:
  TZipPasswords(const std::optional<THardenedParams>& hardened, THardenedKeys* keys)
      : hardened_(hardened), keys_(keys ? *keys : own_) {}

  TSecretBytes Of(const TSecretBytes& typed) {
    if (!hardened_ || typed.empty()) return typed;
    return keys_.KeyFor(typed.view(), *hardened_);
  }

  // The forms to try for one typed password, in the order to try them.
  std::vector<TPasswordForm> Forms(const TSecretBytes& typed) {
    std::vector<TPasswordForm> forms;
    forms.push_back({typed, Of(typed)});
    if (hardened_) return forms;
    if (auto legacy = LegacyPasswordBytes(typed.view())) {
      const TSecretBytes bytes(std::move(*legacy));
      forms.push_back({bytes, bytes});
    }
    return forms;
  }

 private:
  const std::optional<THardenedParams>& hardened_;
  THardenedKeys own_;
  THardenedKeys& keys_;
};

// A failure past the header's check says more than a failed check of the
// other form: it is the one reported.
bool SaysMore(const TReadFailure& next, const TReadFailure& kept) {
  return kept.verdict != TReadVerdict::FailedAfterCheck ||
         next.verdict == TReadVerdict::FailedAfterCheck;
}

// With the password that opened "Data"; no failure of theirs is reported.
std::optional<TChangeRecords> ReadChangeRecords(TZipReader& reader, const TSiteListRead& read) {
  if (!reader.FindMember(kChangeRecordsMember)) return std::nullopt;
  bool failed = false;
  reader.OnProcessItemFailure = [&failed](TZipComponent&, const TZipItem&, int, int, int) {
    failed = true;
  };
  TMemoryStream buffer;
  reader.SetPassword(read.zipPassword.str());
  reader.ExtractToStream(kChangeRecordsMember, buffer);
  reader.OnProcessItemFailure = nullptr;
  if (failed) return std::nullopt;
  return ChangeRecordsFor(buffer.TakeBytes(), read.data.str());
}

}  // namespace

std::string ReadFailureText(const TReadFailure& failure) {
  std::string text;
  if (failure.item.errorClass == TItemErrorClass::Archive) {
    text = ZipErrorMessage(failure.item.errorCode);
  } else if (failure.verdict == TReadVerdict::Damaged ||
             failure.item.errorClass == TItemErrorClass::StreamFormat) {
    text = kDamaged;
  } else {
    text = "Cannot extract file";
  }
  if (!failure.detail.empty()) text += " (" + failure.detail + ")";
  return text;
}

TSiteListRead ReadSiteList(TZipReader& reader, TMemoryStream& buffer, const std::string& path,
                           const std::string& first, TPasswordSource& source,
                           THardenedKeys* keys) {
  reader.SetFileName(path);
  TSiteListRead read;
  read.members = reader.MemberNames();
  const TZipItem* entry = reader.FindMember(kSiteListMember);
  if (!entry) return read;
  // A bomb is refused before a byte of it is inflated.
  CheckSiteListSize(*entry);
  read.hasSiteList = true;
  read.dataTime = (std::uint32_t{entry->Date} << 16) | entry->Time;
  TAttempts attempts(reader, buffer, *entry);
  read.encryption = attempts.Encryption();
  read.hardened = attempts.Hardened();
  TZipPasswords zipPasswords(read.hardened, keys);

  const TSecretBytes firstTyped(first);
  const TSecretBytes firstZip = zipPasswords.Of(firstTyped);
  std::optional<TReadFailure> failure = attempts.Try(firstZip.str());
  // An unencrypted site list opens with any password and keeps none.
  if (!failure && read.encryption != TEncryption::None) {
    read.password = firstTyped;
    read.zipPassword = firstZip;
  }
  while (failure && failure->verdict != TReadVerdict::Unreadable) {
    const std::optional<TSecretBytes> typed = source.Next(*failure);
    if (!typed) break;
    std::optional<TReadFailure> last;
    for (const TPasswordForm& form : zipPasswords.Forms(*typed)) {
      std::optional<TReadFailure> result = attempts.Try(form.zip.str());
      if (!result) {
        read.password = form.typed;
        read.zipPassword = form.zip;
        last.reset();
        break;
      }
      if (!last || SaysMore(*result, *last)) last = std::move(result);
    }
    failure = std::move(last);
  }
  if (failure) {
    buffer.Clear();
    read.failure = std::move(failure);
    return read;
  }
  buffer.SetPosition(0);
  read.data = TSecretBytes(buffer.TakeBytes());
  read.records = ReadChangeRecords(reader, read);
  return read;
}

TSiteListRead ReadSiteList(const std::string& path, const std::string& first,
                           TPasswordSource& source, THardenedKeys* keys) {
  TZipReader reader;
  TMemoryStream buffer;
  return ReadSiteList(reader, buffer, path, first, source, keys);
}
