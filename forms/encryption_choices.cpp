#include "forms/encryption_choices.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array kChoices = {
    TEncryptionChoice{TEncryption::Traditional, "Traditional", "opens in every ZIP tool"},
    TEncryptionChoice{TEncryption::Aes256, "AES-256", "7-Zip, WinZip and bsdtar; much stronger"},
    TEncryptionChoice{TEncryption::Aes256Hardened, "AES-256 hardened",
                      "the same tools with the key of vornix-cli zip-password; far slower "
                      "to guess"},
};

}  // namespace

std::span<const TEncryptionChoice> EncryptionChoices() { return kChoices; }

const TEncryptionChoice& EncryptionChoiceOf(TEncryption encryption) {
  const auto* found = std::find_if(kChoices.begin(), kChoices.end(),
                                   [&](const TEncryptionChoice& c) { return c.encryption == encryption; });
  return found != kChoices.end() ? *found : kChoices.front();
}
