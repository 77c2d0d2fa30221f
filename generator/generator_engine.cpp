#include "generator/generator_engine.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/text_codec.h"
#include "generator/random_source.h"

namespace {

constexpr std::string_view kLowercase = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kConsonants = "bcdfghjklmnpqrstvwxz";
constexpr std::string_view kVowels = "aeiouy";
constexpr std::string_view kDigits = "0123456789";
static_assert(kLowercase.size() == 26 && kConsonants.size() == 20 && kVowels.size() == 6);

// The set's characters: one per well-formed UTF-8 sequence, one per stray
// byte, so a multi-byte character is drawn whole and an ASCII set draws
// exactly as a byte set would.
std::vector<std::string_view> SplitCharacters(std::string_view set) {
  std::vector<std::string_view> chars;
  chars.reserve(set.size());
  for (std::size_t pos = 0; pos < set.size();) {
    const std::size_t len = std::max<std::size_t>(1, Utf8SequenceLength(set, pos));
    chars.push_back(set.substr(pos, len));
    pos += len;
  }
  return chars;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The set a template character draws from and whether it is upper-cased.
struct TemplateSlot {
  std::string_view set;
  bool upper;
};

// The fixed sets of the template letters; a capital letter draws from the
// same set and upper-cases what it draws.
struct TemplateLetter {
  char letter;
  std::string_view set;
};
constexpr TemplateLetter kTemplateLetters[] = {
    {'a', kLowercase}, {'c', kConsonants}, {'v', kVowels}};

// The slot of a template character; nothing for characters that produce
// nothing.
std::optional<TemplateSlot> SlotFor(char c, std::string_view specialChars) {
  if (c == '9') return TemplateSlot{kDigits, false};
  if (c == '$') return TemplateSlot{specialChars, false};
  for (const TemplateLetter& entry : kTemplateLetters) {
    if (c == entry.letter) return TemplateSlot{entry.set, false};
    if (c == entry.letter - 'a' + 'A') return TemplateSlot{entry.set, true};
  }
  return std::nullopt;
}

}  // namespace

std::string PickChar(std::string_view set) {
  const std::vector<std::string_view> chars = SplitCharacters(set);
  // The draw is made even for an empty set, keeping the sequence of draws.
  const std::uint32_t index = RandomBelow(static_cast<std::uint32_t>(chars.size()));
  if (!chars.empty()) return std::string(chars[index]);
  return UpperAscii(PickChar(kLowercase));
}

std::string ExpandTemplate(std::string_view templ, std::string_view specialChars) {
  std::string result;
  // Template characters are ASCII, so bytes of multi-byte characters never
  // match and produce nothing.
  for (const char c : templ) {
    const std::optional<TemplateSlot> slot = SlotFor(c, specialChars);
    if (!slot) continue;
    std::string picked = PickChar(slot->set);
    result += slot->upper ? UpperAscii(std::move(picked)) : picked;
  }
  return result;
}

std::string ClassTemplate(bool upper, bool lower, bool numbers, bool special) {
  std::string classes;
  if (upper) classes += 'A';
  if (lower) classes += 'a';
  if (numbers) classes += '9';
  if (special) classes += '$';
  return classes.empty() ? "Aa9$" : classes;
}

std::vector<std::string> CharacterChoices(char templateChar, std::string_view specialChars) {
  const std::optional<TemplateSlot> slot = SlotFor(templateChar, specialChars);
  if (!slot) return {};
  std::vector<std::string> choices;
  for (const std::string_view c : SplitCharacters(slot->set))
    choices.push_back(slot->upper ? UpperAscii(std::string(c)) : std::string(c));
  if (choices.empty()) return CharacterChoices('A', specialChars);
  return choices;
}

std::string GenerateFromClasses(bool upper, bool lower, bool numbers, bool special,
                                std::string_view specialChars, int length) {
  const std::string classes = ClassTemplate(upper, lower, numbers, special);

  // First every position picks its class, then the classes are expanded.
  std::string intermediate;
  for (int i = 0; i < length; ++i) intermediate += PickChar(classes);
  return ExpandTemplate(intermediate, specialChars);
}

std::string GeneratePassword(const TGenOptions& options) {
  if (options.useWords) return GeneratePassphrase(options.words);
  if (options.useTemplate) return ExpandTemplate(options.templ, options.specialChars);
  return GenerateFromClasses(options.upper, options.lower, options.numbers, options.special,
                             options.specialChars, options.length);
}
