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

// Archive errors with their numeric codes (1 newer version, 2 unsupported
// method, 4 invalid password, 7 duplicate name, 9 aborted, 21 invalid stream,
// 23 CRC, 24 AES authentication, 25 file not found, 27 no archive, 28 not a
// ZIP, 35 unhandled type).
class EZipError : public std::runtime_error {
 public:
  EZipError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int Code() const { return code_; }

 private:
  int code_;
};

// A site list member larger than any real site list: refused unread.
class ESiteListTooLarge : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An AES member's authentication code does not match its data: the data was
// changed, or a wrong password passed the 2-byte verifier (one in 65,536).
inline constexpr int kZipErrorAuthentication = 24;

// Throws the EZipError of the given code with its standard message.
[[noreturn]] void ThrowZipError(int code);
// The standard message of an archive error code.
const char* ZipErrorMessage(int code);
