#pragma once
// Exceptions of the archive layer. Their messages are the texts the user sees.

#include <stdexcept>
#include <string>

// Stream and file failures ("Stream read error", "Cannot open file <path>").
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EFileError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// The numeric codes of archive errors; each has one standard message.
enum class TZipErrorCode : int {
  Unnumbered = 0,  // errors with a message of their own
  NewerVersion = 1,
  UnsupportedMethod = 2,
  InvalidPassword = 4,
  DuplicateName = 7,
  Aborted = 9,
  InvalidStream = 21,
  CrcFailed = 23,
  // An AES member's authentication code does not match its data: the data was
  // changed, or a wrong password passed the 2-byte verifier (one in 65,536).
  Authentication = 24,
  FileNotFound = 25,
  NoArchive = 27,
  NotZip = 28,
  UnhandledType = 35,
};

// What the item-failure event reports a member's failure as: an archive
// error (with its code), an I/O error, a stream format error, a file that
// could not be created or opened, or anything else.
enum class TItemErrorClass : int {
  Archive = 0,
  InputOutput = 1,
  StreamFormat = 2,
  FileCreate = 3,
  FileOpen = 4,
  Other = 6,
};

// The operation an item failure happened in.
enum class TItemProcess : int { Add = 0, Extract = 2 };

class EZipError : public std::runtime_error {
 public:
  EZipError(TZipErrorCode code, const std::string& message)
      : std::runtime_error(message), code_(code) {}
  TZipErrorCode Code() const { return code_; }

 private:
  TZipErrorCode code_;
};

// A site list member larger than any real site list: refused unread.
class ESiteListTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// A member to be saved that no later read would take: refused before
// anything is written.
class EMemberTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws the EZipError of the given code with its standard message.
[[noreturn]] void ThrowZipError(TZipErrorCode code);
// The standard message of an archive error code.
const char* ZipErrorMessage(TZipErrorCode code);
