#include "archive/crypto/zip_encryption.h"

#include "archive/zip/aes_extra.h"
#include "archive/zip/hardened_extra.h"

bool IsAes(TEncryption encryption) {
  return encryption == TEncryption::Aes128 || encryption == TEncryption::Aes192 ||
         encryption == TEncryption::Aes256 || encryption == TEncryption::Aes256Hardened;
}

TEncryption EncryptionOf(const TZipDirectoryEntry& entry) {
  if (entry.Method == kMethodAes) {
    // A record, even one that cannot be used, says the password is a key.
    if (FindHardenedRecord(entry.Extra)) return TEncryption::Aes256Hardened;
    // Without a readable AES extra field the member cannot be read at all;
    // it still counts as AES, at the strength this program writes.
    const auto aes = FindAesExtra(entry.Extra);
    if (aes && aes->Strength == 1) return TEncryption::Aes128;
    if (aes && aes->Strength == 2) return TEncryption::Aes192;
    return TEncryption::Aes256;
  }
  if (!(entry.Flags & zip_flag::kEncrypted)) return TEncryption::None;
  return TEncryption::Traditional;
}

const char* EncryptionName(TEncryption encryption) {
  switch (encryption) {
    case TEncryption::None:
      return "none";
    case TEncryption::Traditional:
      return "traditional";
    case TEncryption::Aes128:
      return "AES-128";
    case TEncryption::Aes192:
      return "AES-192";
    case TEncryption::Aes256:
      return "AES-256";
    case TEncryption::Aes256Hardened:
      return "AES-256 hardened";
  }
  return "none";
}

TEncryption EncryptionToWrite(TEncryption read) {
  if (read == TEncryption::Aes256Hardened) return read;
  return IsAes(read) ? TEncryption::Aes256 : TEncryption::Traditional;
}
