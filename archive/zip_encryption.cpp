#include "archive/zip_encryption.h"

namespace {
constexpr std::uint16_t kMethodAes = 99;
}  // namespace

bool IsAes(TEncryption encryption) {
  return encryption == TEncryption::Aes128 || encryption == TEncryption::Aes192 ||
         encryption == TEncryption::Aes256;
}

TEncryption EncryptionOf(const TZipDirectoryEntry& entry) {
  if (!(entry.Flags & zip_flag::kEncrypted)) return TEncryption::None;
  // The AES strength is refined from the entry's extra field by the AES code.
  if (entry.Method == kMethodAes) return TEncryption::Aes256;
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
  }
  return "none";
}

TEncryption EncryptionToWrite(TEncryption read) {
  return IsAes(read) ? TEncryption::Aes256 : TEncryption::Traditional;
}
