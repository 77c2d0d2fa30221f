#pragma once
// How an archive member is encrypted, as read from its entry and as chosen
// for the site list when an archive is written.

#include "archive/zip/zip_records.h"

// Writing takes Traditional or Aes256 (an archive read as any AES strength is
// written back as Aes256); None is what an empty password gives.
enum class TEncryption { None, Traditional, Aes128, Aes192, Aes256 };

bool IsAes(TEncryption encryption);

// The encryption of a member as its directory entry declares it.
TEncryption EncryptionOf(const TZipDirectoryEntry& entry);

// "none", "traditional", "AES-128", "AES-192" or "AES-256".
const char* EncryptionName(TEncryption encryption);

// What a save writes for an archive read with `read`: AES stays AES (as
// AES-256), everything else is the traditional scheme.
TEncryption EncryptionToWrite(TEncryption read);
