#include "archive/archive_errors.h"

namespace {

struct TZipErrorText {
  int code;
  const char* message;
};

// The archive errors this program can meet, with the texts the user sees.
constexpr TZipErrorText kZipErrors[] = {
    {1, "Cannot extract file - newer version required"},
    {2, "Cannot extract file - unsupported compression method"},
    {4, "Cannot extract file - invalid password"},
    {7, "Cannot insert file - duplicates stored name"},
    {9, "Process aborted by user"},
    {21, "Invalid Stream"},
    {23, "Failed CRC Check"},
    {kZipErrorAuthentication, "Failed AES authentication check - wrong password or damaged data"},
    {25, "File not found"},
    {27, "Archive does not exist - FileName is blank"},
    {28, "Invalid file - not a PKZip file"},
    {35, "Unhandled Archive Type"},
};

}  // namespace

const char* ZipErrorMessage(int code) {
  for (const auto& entry : kZipErrors) {
    if (entry.code == code) return entry.message;
  }
  return "Unknown archive error";
}

void ThrowZipError(int code) { throw EZipError(code, ZipErrorMessage(code)); }
