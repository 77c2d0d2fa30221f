#pragma once
// Producing a new member's data for a save: compress (or store), encrypt when
// a password is set, and fill in the entry's method, flags, CRC and sizes.

#include <optional>
#include <string>

#include "archive/streams.h"
#include "archive/crypto/hardened_key.h"
#include "archive/crypto/zip_encryption.h"
#include "archive/zip/zip_engine.h"
#include "archive/zip/zip_records.h"

struct TZipMemberSettings {
  std::string Password;
  TCompressionMethodToUse Method = TCompressionMethodToUse::smBestMethod;
  TDeflationOption Deflation = TDeflationOption::doNormal;
  // Used when Password is not empty: Traditional, Aes256 or Aes256Hardened.
  TEncryption Encryption = TEncryption::Traditional;
  // For Aes256Hardened (Password then holds the derived key): recorded in
  // the member's extra field after the AES block.
  std::optional<THardenedParams> Hardened;
};

// Reads the whole source (from position 0) and returns the member data as
// it goes into the file, the 12-byte encryption header included. The entry's
// Time must already hold the member's DOS time: it is the encryption check.
// With a password and an AES choice the member is AES-256 (AE-2: method 99,
// the AES extra field in entry.Extra, CRC 0, no descriptor) and the data is
// salt, verifier, encrypted bytes and authentication code.
std::string ProduceMemberData(TZipDirectoryEntry& entry, TStream& source,
                              const TZipMemberSettings& settings);
