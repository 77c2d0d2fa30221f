#pragma once
// How an archive member is encrypted, as read from its entry and as chosen
// for the site list when an archive is written.

#include "archive/zip/zip_records.h"

// Writing takes Traditional, Aes256 or Aes256Hardened (an archive read as any
// other AES strength is written back as Aes256); None is what an empty
// password gives. Aes256Hardened is AES-256 whose ZIP password is a key
// derived from the person's password (archive/crypto/hardened_key.h).
enum class TEncryption { None, Traditional, Aes128, Aes192, Aes256, Aes256Hardened };

// Every AES kind, the hardened one included: on the wire it is AES-256.
bool IsAes(TEncryption encryption);

// The encryption of a member as its directory entry declares it.
TEncryption EncryptionOf(const TZipDirectoryEntry& entry);

// "none", "traditional", "AES-128", "AES-192", "AES-256" or
// "AES-256 hardened".
const char* EncryptionName(TEncryption encryption);

// What a save writes for an archive read with `read`: a hardened archive
// stays hardened, other AES stays AES (as AES-256), everything else is the
// traditional scheme.
TEncryption EncryptionToWrite(TEncryption read);
