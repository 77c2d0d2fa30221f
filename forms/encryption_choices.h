#pragma once
// The encryptions a person can choose for an archive, each with the line
// that says who opens the file and how strong it is.

#include <span>

#include "archive/crypto/zip_encryption.h"

struct TEncryptionChoice {
  TEncryption encryption;
  const char* name;  // as the Options list shows it
  const char* note;
};

// Traditional, AES-256 and AES-256 hardened, in that order.
std::span<const TEncryptionChoice> EncryptionChoices();
const TEncryptionChoice& EncryptionChoiceOf(TEncryption encryption);
