#include "cli/gen_options.h"

#include <charconv>

#include "cli/cli_error.h"
#include "generator/random_source.h"

namespace cli {

namespace {

constexpr const char* kClassOptions[] = {"upper", "lower", "digits"};
// What a passphrase takes besides --words, and what it cannot be mixed with.
constexpr const char* kWordOptions[] = {"separator", "capitals", "digit"};
constexpr const char* kCharacterOptions[] = {"upper",   "lower",  "digits",
                                             "special", "length", "template"};
constexpr const char* kTemplateChars = "AaCcVv9$";

}  // namespace

std::vector<TOptionDef> GeneratorOptionDefs() {
  return {{"upper", false},    {"lower", false},   {"digits", false}, {"special", true},
          {"length", true},    {"template", true}, {"words", true},   {"separator", true},
          {"capitals", false}, {"digit", false}};
}

bool HasGeneratorOptions(const TParsedArgs& args) {
  for (const TOptionDef& def : GeneratorOptionDefs()) {
    if (args.Has(def.name)) return true;
  }
  return false;
}

int ParseIntOption(const std::string& command, const std::string& option, const std::string& text,
                   int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
    throw EUsageError(command, "--" + option + " needs a whole number from " + std::to_string(low) +
                                   " to " + std::to_string(high) + ", not \"" + text + "\"");
  }
  return value;
}

namespace {

TGenOptions PassphraseOptionsFrom(const std::string& command, const TParsedArgs& args) {
  for (const char* name : kCharacterOptions) {
    if (args.Has(name))
      throw EUsageError(command, "--words cannot be used with --" + std::string(name));
  }
  TGenOptions options;
  options.useWords = true;
  options.words.words = ParseIntOption(command, "words", *args.Value("words"), kMinPassphraseWords,
                                       kMaxPassphraseWords);
  options.words.separator = args.Value("separator").value_or(options.words.separator);
  if (!IsValidSeparator(options.words.separator)) {
    throw EUsageError(command, "--separator cannot hold a tab or a line break");
  }
  options.words.capitals = args.Has("capitals");
  options.words.digit = args.Has("digit");
  return options;
}

}  // namespace

TGenOptions GeneratorOptionsFrom(const std::string& command, const TParsedArgs& args) {
  if (args.Has("words")) return PassphraseOptionsFrom(command, args);
  for (const char* name : kWordOptions) {
    if (args.Has(name)) throw EUsageError(command, "--" + std::string(name) + " needs --words");
  }
  TGenOptions options;
  options.upper = args.Has("upper");
  options.lower = args.Has("lower");
  options.numbers = args.Has("digits");
  options.special = args.Has("special");
  options.specialChars = args.Value("special").value_or("");
  if (options.special && options.specialChars.empty()) {
    throw EUsageError(command, "--special needs at least one character");
  }
  if (auto templ = args.Value("template")) {
    for (const char* name : kClassOptions) {
      if (args.Has(name))
        throw EUsageError(command, "--template cannot be used with --" + std::string(name));
    }
    if (args.Has("length")) throw EUsageError(command, "--template cannot be used with --length");
    if (templ->find_first_of(kTemplateChars) == std::string::npos) {
      throw EUsageError(command, "the template has none of the characters A a C c V v 9 $");
    }
    options.useTemplate = true;
    options.templ = *templ;
    return options;
  }
  options.length = kDefaultLength;
  if (auto length = args.Value("length")) {
    options.length = ParseIntOption(command, "length", *length, 1, kMaxLength);
  }
  if (!options.upper && !options.lower && !options.numbers && !options.special) {
    options.upper = options.lower = options.numbers = true;
  }
  return options;
}

std::string GenerateWith(const TGenOptions& options) {
  SetRandomMode(RandomMode::System);
  return GeneratePassword(options);
}

}  // namespace cli
