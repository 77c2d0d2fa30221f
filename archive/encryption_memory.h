#pragma once
// The strongest encryption each archive has been seen with, kept per path
// in the settings file. An archive replaced by a weaker copy of itself (the
// same password under a weaker cipher, or none) is then noticed, and the
// next save writes the stronger encryption again unless the user chooses
// another one.

#include <optional>
#include <string>
#include <string_view>

#include "archive/crypto/zip_encryption.h"
#include "core/settings_file.h"

struct TEncryptionCheck {
  TEncryption write = TEncryption::Traditional;  // what the next save writes
  // The encryption remembered, when the archive came back weaker than it.
  std::optional<TEncryption> weakerThan;
};

// What a read found, against the memory for path; the memory is raised
// when the archive is stronger now. A settings file that cannot be read or
// written changes nothing.
TEncryptionCheck CheckEncryption(const TSettingsFile& file, const std::string& path,
                                 TEncryption found);
// After a save, which wrote what the user chose: remembers exactly that.
void RememberEncryption(const TSettingsFile& file, const std::string& path, TEncryption written);

// "The archive <path> was encrypted with AES-256 when it was last seen and
// is now ...", with what the save will do.
std::string DowngradeText(const std::string& shownPath, const TEncryptionCheck& check,
                          TEncryption found);
