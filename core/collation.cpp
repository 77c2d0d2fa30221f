#include "core/collation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>

#include "core/text_codec.h"

namespace {

constexpr int32_t kHeadSize = static_cast<int32_t>(std::tuple_size_v<decltype(TCollationKey::head)>);

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

std::uint64_t FirstBytes(const TCollationKey& key) {
  std::uint64_t bytes;
  std::memcpy(&bytes, key.head.data(), sizeof bytes);
  if constexpr (std::endian::native == std::endian::little) bytes = __builtin_bswap64(bytes);
  return bytes;
}

int ByteCompare(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

}  // namespace

TCollationKey CollationKeyOf(std::string_view bytes) {
  TCollationKey key;
  icu::Collator* collator = SharedCollator();
  if (!collator) return key;  // every comparison falls back to the texts
  std::string storage;
  const std::string_view utf8 = AsUtf8(bytes, storage);
  UCharIterator text;
  uiter_setUTF8(&text, utf8.data(), static_cast<int32_t>(utf8.size()));
  uint32_t state[2] = {0, 0};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = ucol_nextSortKeyPart(collator->toUCollator(), &text, state,
                                              key.head.data(), kHeadSize, &status);
  if (U_FAILURE(status)) {
    key.head.fill(0);
    return key;
  }
  key.complete = length < kHeadSize;
  return key;
}

int CompareCollated(const TCollationKey& keyA, std::string_view a, const TCollationKey& keyB,
                    std::string_view b) {
  // The first eight bytes as one big-endian number decide most comparisons
  // of a sort in one step.
  const std::uint64_t firstA = FirstBytes(keyA);
  const std::uint64_t firstB = FirstBytes(keyB);
  if (firstA != firstB) return firstA < firstB ? -1 : 1;
  const int heads = std::memcmp(keyA.head.data() + 8, keyB.head.data() + 8, keyA.head.size() - 8);
  if (heads != 0) return Sign(heads);
  if (keyA.complete && keyB.complete) return 0;
  return CollateCompare(a, b);
}

int CollateCompare(std::string_view a, std::string_view b) {
  return CollateCompareChecked(a, IsValidUtf8(a), b, IsValidUtf8(b));
}

int CollateCompareChecked(std::string_view a, bool aIsUtf8, std::string_view b, bool bIsUtf8) {
  icu::Collator* collator = SharedCollator();
  if (!collator) return ByteCompare(a, b);  // no ICU data: still a total order
  std::string storageA, storageB;
  const std::string_view utf8A = aIsUtf8 ? a : (storageA = Cp1252ToUtf8(a));
  const std::string_view utf8B = bIsUtf8 ? b : (storageB = Cp1252ToUtf8(b));
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult result = collator->compareUTF8(
      icu::StringPiece(utf8A.data(), static_cast<int32_t>(utf8A.size())),
      icu::StringPiece(utf8B.data(), static_cast<int32_t>(utf8B.size())), status);
  if (U_FAILURE(status)) return ByteCompare(a, b);
  return static_cast<int>(result);
}
