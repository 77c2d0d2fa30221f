#include "cli/archive_access.h"

#include <optional>
#include <vector>

#include "archive/archive_errors.h"
#include "archive/archive_session.h"
#include "archive/site_list_reader.h"
#include "archive/zip/site_list_member.h"
#include "cli/archive_file.h"
#include "cli/cli_error.h"
#include "cli/password_input.h"
#include "core/retry_limits.h"

namespace cli {

namespace {

// Asks `input` for passwords: once, or up to three times when a person
// answers at a terminal; an empty answer at a terminal gives up.
class TInputPasswords final : public TPasswordSource {
 public:
  // triedPassword: the first attempt had a password of its own, so any
  // failure of it is a question of passwords.
  TInputPasswords(TPasswordInput& input, bool triedPassword)
      : input_(input), prompts_(input.Interactive() ? kRetryPrompts : 1), triedPassword_(triedPassword) {}

  std::optional<TSecretBytes> Next(const TReadFailure& failure) override {
    // Without a password, only a missing one is a question of passwords:
    // anything else is a file that cannot be read as it is.
    if (asked_ == 0 && !triedPassword_ && failure.verdict != TReadVerdict::NoPassword) {
      return std::nullopt;
    }
    if (!failure.IsPasswordQuestion() || asked_ >= prompts_) return std::nullopt;
    ++asked_;
    std::optional<TSecretBytes> typed = input_.Ask("Enter password: ");
    if (!typed || (typed->empty() && input_.Interactive())) return std::nullopt;
    return typed;
  }
  bool Asked() const { return asked_ > 0; }

 private:
  TPasswordInput& input_;
  int prompts_;
  bool triedPassword_;
  int asked_ = 0;
};

// A failure to read the file is no question of passwords: either the system
// refused a read (its reason is given) or the member runs past the end of
// the file.
[[noreturn]] void ThrowReadFailure(const TArchiveFile& file) {
  const std::string reason = file.ReadFailure();
  if (!reason.empty()) ThrowCannotRead(file.Given(), reason);
  throw ECliError(kExitNotArchive, ReadFailureText({TReadVerdict::Damaged, {}, {}}) +
                                       " (the member Data runs past the end of " +
                                       file.Given() + ")");
}

// The password passed the encryption header's check and the data then
// failed: a wrong password, or an archive damaged or changed since it was
// written, which no check can tell apart. It keeps the wrong password's exit
// status, since one wrong password in 256 (65,536 for AES) gets that far.
[[noreturn]] void ThrowFailedAfterCheck(const TArchiveFile& file, const TReadFailure& failure) {
  throw ECliError(kExitWrongPassword,
                  "The archive " + file.Given() +
                      " is damaged or was changed, or the password is wrong"
                      "\nvornix-cli: the password passed the archive's first check but the "
                      "data did not (" +
                      ReadFailureText(failure) + ")");
}

[[noreturn]] void ThrowFailure(const TArchiveFile& file, const TReadFailure& failure,
                               bool askedForPassword) {
  switch (failure.verdict) {
    case TReadVerdict::Unreadable:
      ThrowReadFailure(file);
    case TReadVerdict::Damaged:
      throw ECliError(kExitNotArchive, ReadFailureText(failure));
    case TReadVerdict::FailedAfterCheck:
      if (askedForPassword) ThrowFailedAfterCheck(file, failure);
      throw ECliError(kExitNotArchive, ReadFailureText(failure));
    default:
      throw ECliError(kExitWrongPassword, ZipErrorMessage(TZipErrorCode::InvalidPassword));
  }
}

// A command reads its archive again under the lock: the hardened key found
// by the first read serves the second.
THardenedKeys& CommandKeys() {
  static THardenedKeys keys;
  return keys;
}

// Opens the file with the engine and reads the site list; what the engine
// throws becomes the command's error.
template <typename TRead>
TSiteListRead Read(const TArchiveFile& file, TRead read) {
  try {
    return read();
  } catch (const EFileError& e) {
    throw ECliError(kExitFailure, e.what());
  } catch (const ESiteListTooLarge& e) {
    throw ECliError(kExitNotArchive, e.what());
  } catch (const EZipError& e) {
    throw ECliError(kExitNotArchive, e.what());
  } catch (const EStreamError& e) {
    if (!file.ReadFailure().empty()) ThrowReadFailure(file);
    throw ECliError(kExitNotArchive, e.what());
  }
}

// The fields a read and a command's content share, in one place: the site
// list and its records move; the rest is copied, since a read under the lock
// that takes over the first one leaves that one's password in use.
template <typename TTo, typename TFrom>
void TakeReadFields(TTo& to, TFrom& from) {
  to.members = from.members;
  to.hasSiteList = from.hasSiteList;
  to.encryption = from.encryption;
  to.password = from.password;
  to.zipPassword = from.zipPassword;
  to.hardened = from.hardened;
  to.data = std::move(from.data);
  to.records = std::move(from.records);
  to.dataTime = from.dataTime;
}

TArchiveContent ContentOf(const TArchiveFile& file, TSiteListRead& read) {
  TArchiveContent content;
  content.given = file.Given();
  content.path = file.Path();
  TakeReadFields(content, read);
  return content;
}

TSiteListRead ReadOf(TArchiveContent& content) {
  TSiteListRead read;
  TakeReadFields(read, content);
  return read;
}

// The file as it is, or nothing known when it cannot be looked at: the read
// that follows then says why.
TFileSnapshot SnapshotOrNothing(const std::string& path) {
  try {
    return TakeFileSnapshot(path);
  } catch (const EFileError&) {
    return {};
  }
}

}  // namespace

TArchiveContent ReadArchive(const std::string& path, TPasswordInput& input,
                            const std::string* tryFirst) {
  const TArchiveFile file(path);
  const std::string first = tryFirst ? *tryFirst : std::string();
  TInputPasswords passwords(input, !first.empty());
  TSiteListRead read =
      Read(file, [&] { return ReadSiteList(file.Path(), first, passwords, &CommandKeys()); });
  if (read.failure) ThrowFailure(file, *read.failure, passwords.Asked());
  return ContentOf(file, read);
}

TArchiveContent ReadArchiveToChange(const std::string& path, TPasswordInput& input) {
  // Taken before reading, so that a change made while a password is asked
  // for shows. The path as given leads to the same file as the resolved one.
  const TFileSnapshot snapshot = SnapshotOrNothing(path);
  TArchiveContent content = ReadArchive(path, input);
  content.snapshot = snapshot;
  return content;
}

TArchiveContent ReadArchiveAgain(TArchiveContent& earlier, TArchiveSession& session) {
  const TArchiveFile file(earlier.given, earlier.path);
  TNoPasswords none;
  // Without a site list the password is the one a new site list gets.
  session.SetPassword(earlier.password);
  session.Keys() = CommandKeys();
  // Reading a million sites again takes about a tenth of a second and as
  // much memory again as the text; bytes still the same need no second read.
  const TFileSnapshot now = SnapshotOrNothing(earlier.path);
  const bool unchanged = earlier.snapshot.exists && now == earlier.snapshot;
  TSiteListRead read = Read(file, [&] {
    if (unchanged) return session.Adopt(ReadOf(earlier), now).found;
    earlier.GiveUpData();  // what is read now replaces it
    return session.Open(earlier.password.str(), none).found;
  });
  if (read.failure) {
    if (read.failure->verdict == TReadVerdict::WrongPassword ||
        read.failure->verdict == TReadVerdict::NoPassword) {
      throw ECliError(kExitWrongPassword, "the archive " + earlier.given +
                                              " was changed by another program and no longer "
                                              "opens with the password given");
    }
    ThrowFailure(file, *read.failure, true);
  }
  TArchiveContent content = ContentOf(file, read);
  if (!content.hasSiteList) content.password = earlier.password;
  return content;
}

TqelPwList TakeSites(TArchiveContent& archive) {
  TqelPwList sites;
  sites.LoadFromText(archive.data.str());
  archive.GiveUpData();
  return sites;
}

std::string NoSiteListText(const TArchiveContent& archive) {
  return archive.given + " holds no site list (no member Data)";
}

}  // namespace cli
