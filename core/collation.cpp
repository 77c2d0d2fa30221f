#include "core/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/text_codec.h"

namespace {

// The locale that orders text is chosen as the C library chooses the
// collation locale: LC_ALL, then LC_COLLATE, then LANG, the first one set
// and not empty. (ICU's own default follows LC_MESSAGES instead.)
std::string CollationLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "C";
}

bool IsPosixLocaleName(const std::string& name) {
  const std::string language = name.substr(0, name.find_first_of(".@"));
  return language == "C" || language == "POSIX";
}

// The C/POSIX locale's own collation orders all capitals before all small
// letters. Site lists must ignore letter case in every locale, so that one
// falls back to the root collation.
icu::Locale CollationLocale() {
  const std::string name = CollationLocaleName();
  if (IsPosixLocaleName(name)) return icu::Locale::getRoot();
  const icu::Locale locale = icu::Locale::createCanonical(name.c_str());
  if (locale.isBogus() || std::strcmp(locale.getVariant(), "POSIX") == 0) {
    return icu::Locale::getRoot();
  }
  return locale;
}

std::unique_ptr<icu::Collator> MakeCollator() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(CollationLocale(), status));
  if (U_FAILURE(status) || !collator) {
    status = U_ZERO_ERROR;
    collator.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
  }
  if (collator) {
    // Secondary strength: accents count, letter case does not.
    collator->setStrength(icu::Collator::SECONDARY);
  }
  return collator;
}

// Created once per thread, from the environment of that moment: building a
// collator costs far more than a compare.
icu::Collator* SharedCollator() {
  thread_local const std::unique_ptr<icu::Collator> collator = MakeCollator();
  return collator.get();
}

// Bytes as UTF-8 for the collator: unchanged when valid, else read as
// Windows-1252. The view points into storage when no conversion is needed.
std::string_view AsUtf8(std::string_view bytes, std::string& storage) {
  if (IsValidUtf8(bytes)) return bytes;
  storage = Cp1252ToUtf8(bytes);
  return storage;
}

int Sign(int value) { return (value > 0) - (value < 0); }

int ByteCompare(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

}  // namespace

int CollateCompare(std::string_view a, std::string_view b) {
  icu::Collator* collator = SharedCollator();
  if (!collator) return ByteCompare(a, b);  // no ICU data: still a total order
  std::string storageA, storageB;
  const std::string_view utf8A = AsUtf8(a, storageA);
  const std::string_view utf8B = AsUtf8(b, storageB);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result = collator->compareUTF8(
      icu::StringPiece(utf8A.data(), static_cast<int32_t>(utf8A.size())),
      icu::StringPiece(utf8B.data(), static_cast<int32_t>(utf8B.size())), status);
  if (U_FAILURE(status)) return ByteCompare(a, b);
  return static_cast<int>(result);
}
