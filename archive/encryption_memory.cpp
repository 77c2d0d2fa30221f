#include "archive/encryption_memory.h"

#include <stdexcept>

#include "archive/storage/archive_place.h"
#include "core/option_settings.h"

namespace {

// Any AES strength counts alike: every AES archive is written back as
// AES-256.
int Strength(TEncryption encryption) {
  if (encryption == TEncryption::Aes256Hardened) return 3;
  if (IsAes(encryption)) return 2;
  return encryption == TEncryption::Traditional ? 1 : 0;
}

const char* StoredName(TEncryption encryption) {
  if (encryption == TEncryption::Aes256Hardened) return "hardened";
  if (IsAes(encryption)) return "aes256";
  return encryption == TEncryption::Traditional ? "traditional" : "none";
}

std::optional<TEncryption> FromStoredName(const std::string& text) {
  if (text == "hardened") return TEncryption::Aes256Hardened;
  if (text == "aes256") return TEncryption::Aes256;
  if (text == "traditional") return TEncryption::Traditional;
  if (text == "none") return TEncryption::None;
  return std::nullopt;
}

// A settings name holds no "=" and no line break: those are escaped.
std::string SettingName(const std::string& path) {
  const TArchivePlace place = ResolveArchivePlace(path);
  std::string name(kEncryptionMemoryPrefix);
  for (const char c : place.folder + "/" + place.name) {
    if (c == '%' || c == '=' || c == '\n' || c == '\r') {
      static const char kHex[] = "0123456789ABCDEF";
      name += '%';
      name += kHex[static_cast<unsigned char>(c) >> 4];
      name += kHex[static_cast<unsigned char>(c) & 15];
    } else {
      name += c;
    }
  }
  return name;
}

void Store(const TSettingsFile& file, const std::string& path, TEncryption encryption) {
  try {
    WriteSettingsValue(file, SettingName(path), StoredName(encryption));
  } catch (const std::exception&) {
    // Only a warning is lost; the archive itself is not affected.
  }
}

std::string Named(TEncryption encryption) {
  if (encryption == TEncryption::None) return "no encryption";
  if (encryption == TEncryption::Traditional) return "the traditional ZIP encryption";
  return EncryptionName(encryption);
}

}  // namespace

TEncryptionCheck CheckEncryption(const TSettingsFile& file, const std::string& path,
                                 TEncryption found) {
  TEncryptionCheck check;
  check.write = EncryptionToWrite(found);
  const std::optional<std::string> stored = ReadSettingsValue(file, SettingName(path));
  const std::optional<TEncryption> remembered = stored ? FromStoredName(*stored) : std::nullopt;
  if (!remembered || Strength(found) > Strength(*remembered)) {
    Store(file, path, found);
  } else if (Strength(found) < Strength(*remembered)) {
    check.weakerThan = remembered;
    // Without a password nothing can be encrypted; the warning still says
    // so. A hardened key needs a salt the copy no longer has: such an
    // archive is saved as AES-256 until a new password is set.
    if (found != TEncryption::None) {
      check.write = *remembered == TEncryption::Aes256Hardened ? TEncryption::Aes256
                                                                : EncryptionToWrite(*remembered);
    }
  }
  return check;
}

void RememberEncryption(const TSettingsFile& file, const std::string& path, TEncryption written) {
  Store(file, path, written);
}

std::string DowngradeText(const std::string& shownPath, const TEncryptionCheck& check,
                          TEncryption found) {
  std::string text = "The archive " + shownPath + " had " + Named(*check.weakerThan) +
                     " when it was last seen and now has " + Named(found) +
                     ": another program may have replaced it.";
  if (found != TEncryption::None) {
    text += " It will be saved with " + Named(check.write) +
            " again unless another encryption is chosen.";
  }
  return text;
}
