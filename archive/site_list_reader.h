#pragma once
// The one rule for reading an archive's site list with passwords: the first
// password given, then each password a source offers, as typed (UTF-8) and,
// when that differs, as Windows-1252 bytes, as older archives were written.
// A hardened archive is tried with the key derived from each password's
// UTF-8 form alone: its format has no older writers.
// The window and vornix-cli differ only in their password sources and in
// what they make of a failure.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "archive/crypto/hardened_key.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/zip/zip_engine.h"
#include "core/change_records.h"
#include "core/secret_bytes.h"

class TMemoryStream;

// Why the member "Data" did not open.
enum class TReadVerdict {
  NoPassword,     // encrypted, and no password was given
  WrongPassword,  // the password failed the encryption header's check
  // The password passed the header's check (which one wrong password in
  // 256, or in 65,536 for AES, also passes) but the data then failed: a
  // wrong password or a damaged or changed archive, which cannot be told
  // apart.
  FailedAfterCheck,
  Damaged,     // not encrypted, or too short to be, and still unreadable
  Unreadable,  // the system refused to read the file
};

struct TReadFailure {
  TReadVerdict verdict = TReadVerdict::NoPassword;
  TItemFailure item;
  std::string detail;  // what was found, for messages; may be empty

  bool IsPasswordQuestion() const {
    return verdict == TReadVerdict::NoPassword || verdict == TReadVerdict::WrongPassword ||
           verdict == TReadVerdict::FailedAfterCheck;
  }
};

// The engine's finding for a failure ("Cannot extract file - the data is
// damaged", a ZIP error text, ...).
std::string ReadFailureText(const TReadFailure& failure);

// Where the passwords to try come from: a person at a dialog or a terminal,
// lines of standard input, nothing at all.
class TPasswordSource {
 public:
  virtual ~TPasswordSource() = default;
  // The next password as typed, after `failure`; nothing gives up.
  virtual std::optional<TSecretBytes> Next(const TReadFailure& failure) = 0;
};

// A source that asks a function, such as a window's password dialog.
class TPasswordsFrom final : public TPasswordSource {
 public:
  using TAsk = std::function<std::optional<TSecretBytes>(const TReadFailure&)>;
  explicit TPasswordsFrom(TAsk ask) : ask_(std::move(ask)) {}
  std::optional<TSecretBytes> Next(const TReadFailure& failure) override { return ask_(failure); }

 private:
  TAsk ask_;
};

// A source that never offers a password.
class TNoPasswords final : public TPasswordSource {
 public:
  std::optional<TSecretBytes> Next(const TReadFailure&) override { return std::nullopt; }
};

struct TSiteListRead {
  std::vector<std::string> members;  // in the archive's directory order
  bool hasSiteList = false;          // a member "Data" exists
  TEncryption encryption = TEncryption::None;
  TSecretBytes password;  // the bytes that opened it, as typed
  // The ZIP password that opened it: `password` itself, or for a hardened
  // archive the key derived from it with `hardened`.
  TSecretBytes zipPassword;
  std::optional<THardenedParams> hardened;
  TSecretBytes data;      // the member "Data" exactly as stored
  std::uint32_t dataTime = 0;  // DOS date (high half) and time of "Data"
  // The change records that describe `data` and open with its password;
  // records that do not are as good as none.
  std::optional<TChangeRecords> records;
  // Set when no password opened it: the last failure, after the source
  // gave up.
  std::optional<TReadFailure> failure;
};

// Reads the member "Data" of the archive the reader opens at path into
// buffer. First with `first` exactly as given, then with what the source
// offers. Hardened keys come from `keys` when given, so that reading the
// same archive with the same password again derives nothing. Opening the file may throw (EFileError, EZipError, EStreamError),
// and so does a site list no real one could be (ESiteListTooLarge); every
// other failure ends in `failure`. The reader is not closed: closing would
// write an empty file back as an archive without members.
TSiteListRead ReadSiteList(TZipReader& reader, TMemoryStream& buffer, const std::string& path,
                           const std::string& first, TPasswordSource& source,
                           THardenedKeys* keys = nullptr);
// The same with a reader and buffer of its own.
TSiteListRead ReadSiteList(const std::string& path, const std::string& first,
                           TPasswordSource& source, THardenedKeys* keys = nullptr);
