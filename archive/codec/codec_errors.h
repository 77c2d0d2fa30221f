#pragma once
// Exceptions used inside the codec. The internal ones carry only a cause;
// Inflate and Deflate turn them into the public errors with the full text.

#include <stdexcept>
#include <string>

class EPlInternalInflateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EPlInternalDeflateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// The output limit was reached: decoding stops without an error.
class EPlPartSizedInflate : public std::exception {};
// A progress callback asked to stop.
class EPlAbortProgress : public std::exception {};

// The one way the decoder rejects bad input.
[[noreturn]] inline void FailInflate(const char* cause) { throw EPlInternalInflateError(cause); }
