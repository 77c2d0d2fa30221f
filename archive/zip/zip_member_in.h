#pragma once
// Reading one member's data out of an open archive: local header, password
// check, decrypting, inflating or copying, and the CRC-32 check.

#include <functional>
#include <string>

#include "archive/streams.h"

class TZipArchive;
class TZipItem;

// Asks for a new password; leaves it empty when there is none to try.
using TAskPassword = std::function<void(std::string& newPassword)>;

// Appends the member's data to dest at its position. Throws the archive's
// errors (EZipError with its code), EPlInflateError for corrupt compressed
// data and EStreamError for a member that runs past the end of the file.
// Nothing is appended when the password, the local header, the AES
// authentication code (TZipErrorCode::Authentication) or the compressed data fail;
// data that fails only the CRC check is appended and then "Failed CRC Check"
// is thrown. An encrypted member too short for its encryption header is
// damaged ("Invalid file - not a PKZip file"), not a password failure. When
// dest is an empty TMemoryStream the data is produced in it directly.
void ExtractMemberData(TZipArchive& archive, const TZipItem& item, TStream& dest,
                       const TAskPassword& askPassword);
