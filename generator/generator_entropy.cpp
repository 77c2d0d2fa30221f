#include "generator/generator_entropy.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "generator/word_list.h"

namespace {

// Outcome -> probability of one position.
using TDistribution = std::map<std::string, double>;

void AddChoices(TDistribution& distribution, const std::vector<std::string>& choices,
                double weight) {
  for (const std::string& choice : choices)
    distribution[choice] += weight / static_cast<double>(choices.size());
}

double EntropyOf(const TDistribution& distribution) {
  double bits = 0.0;
  for (const auto& [outcome, p] : distribution) bits -= p * std::log2(p);
  return bits;
}

double TemplateCharBits(char c, std::string_view specialChars) {
  const std::vector<std::string> choices = CharacterChoices(c, specialChars);
  if (choices.empty()) return 0.0;
  TDistribution distribution;
  AddChoices(distribution, choices, 1.0);
  return EntropyOf(distribution);
}

}  // namespace

double GeneratedEntropyBits(const TGenOptions& options) {
  if (options.useWords) return PassphraseEntropyBits(options.words);
  if (options.useTemplate) {
    double bits = 0.0;
    for (const char c : options.templ) bits += TemplateCharBits(c, options.specialChars);
    return bits;
  }
  // Each position picks a class, then a character of it; classes can share
  // characters (a letter typed as special), so outcomes are merged.
  const std::string classes =
      ClassTemplate(options.upper, options.lower, options.numbers, options.special);
  TDistribution position;
  for (const char c : classes) {
    AddChoices(position, CharacterChoices(c, options.specialChars),
               1.0 / static_cast<double>(classes.size()));
  }
  return EntropyOf(position) * std::max(0, options.length);
}

double PassphraseEntropyBits(const TPassphraseOptions& options) {
  const int words = std::clamp(options.words, kMinPassphraseWords, kMaxPassphraseWords);
  // The four hyphenated words can read as two words joined by a hyphen
  // separator; the few bits that costs are not worth subtracting.
  double bits = words * std::log2(static_cast<double>(kPassphraseWordCount));
  if (options.digit) bits += std::log2(10.0 * words);
  return bits;
}
