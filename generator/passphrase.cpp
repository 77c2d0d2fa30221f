#include "generator/passphrase.h"

#include <algorithm>
#include <vector>

#include "generator/random_source.h"
#include "generator/word_list.h"

bool IsValidSeparator(std::string_view separator) {
  return separator.find_first_of("\t\r\n") == std::string_view::npos;
}

std::string GeneratePassphrase(const TPassphraseOptions& options, TRandomBelow below) {
  if (!below) below = RandomBelow;
  const std::span<const std::string_view> list = PassphraseWords();
  const int count = std::clamp(options.words, kMinPassphraseWords, kMaxPassphraseWords);
  std::vector<std::string> words;
  words.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    // RandomBelow draws without modulo bias (rejection sampling).
    std::string word(list[below(static_cast<std::uint32_t>(list.size()))]);
    if (options.capitals) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    words.push_back(std::move(word));
  }
  if (options.digit) {
    const std::uint32_t at = below(static_cast<std::uint32_t>(count));
    words[at] += static_cast<char>('0' + below(10));
  }
  std::string phrase;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) phrase += options.separator;
    phrase += words[i];
  }
  return phrase;
}
