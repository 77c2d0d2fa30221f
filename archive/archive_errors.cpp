#include "archive/archive_errors.h"

namespace {

struct TZipErrorText {
  TZipErrorCode code;
  const char* message;
};

// The archive errors this program can meet, with the texts the user sees.
constexpr TZipErrorText kZipErrors[] = {
    {TZipErrorCode::NewerVersion, "Cannot extract file - newer version required"},
    {TZipErrorCode::UnsupportedMethod, "Cannot extract file - unsupported compression method"},
    {TZipErrorCode::InvalidPassword, "Cannot extract file - invalid password"},
    {TZipErrorCode::DuplicateName, "Cannot insert file - duplicates stored name"},
    {TZipErrorCode::Aborted, "Process aborted by user"},
    {TZipErrorCode::InvalidStream, "Invalid Stream"},
    {TZipErrorCode::CrcFailed, "Failed CRC Check"},
    {TZipErrorCode::Authentication,
     "Failed AES authentication check - wrong password or damaged data"},
    {TZipErrorCode::FileNotFound, "File not found"},
    {TZipErrorCode::NoArchive, "Archive does not exist - FileName is blank"},
    {TZipErrorCode::NotZip, "Invalid file - not a PKZip file"},
    {TZipErrorCode::UnhandledType, "Unhandled Archive Type"},
};

}  // namespace

const char* ZipErrorMessage(TZipErrorCode code) {
  for (const auto& entry : kZipErrors) {
    if (entry.code == code) return entry.message;
  }
  return "Unknown archive error";
}

void ThrowZipError(TZipErrorCode code) { throw EZipError(code, ZipErrorMessage(code)); }
