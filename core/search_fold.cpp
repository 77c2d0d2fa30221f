#include "core/search_fold.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "core/pw_rec.h"
#include "core/text_codec.h"

namespace {

// Combining marks (accents, cedillas, ...) left apart by the decomposition.
icu::UnicodeString WithoutMarks(const icu::UnicodeString& text) {
  icu::UnicodeString kept;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    if (u_charType(c) != U_NON_SPACING_MARK) kept.append(c);
    i += U16_LENGTH(c);
  }
  return kept;
}

// Most fields are plain ASCII, which has no marks to drop and folds by
// lowering its capitals: listing many sites then skips ICU for them.
bool FoldAscii(std::string_view bytes, std::string& out) {
  out.resize(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x80) return false;
    out[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return true;
}

}  // namespace

std::string FoldForSearch(std::string_view bytes) {
  std::string ascii;
  if (FoldAscii(bytes, ascii)) return ascii;
  const std::string utf8 = DisplayUtf8(bytes);
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
  if (U_SUCCESS(status)) text = nfd->normalize(text, status);
  // A failed decomposition still folds the case: finding stays usable.
  if (U_FAILURE(status)) text = icu::UnicodeString::fromUTF8(utf8);
  icu::UnicodeString folded = WithoutMarks(text);
  folded.foldCase();
  std::string out;
  folded.toUTF8String(out);
  return out;
}

std::string SearchTextOf(const TqelPwRec& rec) {
  std::string text = FoldForSearch(rec.Site());
  for (const std::string& field : {rec.User(), rec.URL(), rec.Note()}) {
    text += '\n';
    text += FoldForSearch(field);
  }
  return text;
}
