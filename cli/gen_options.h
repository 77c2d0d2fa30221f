#pragma once
// The generator's options on the command line, shared by "generate", "add"
// and "edit":
//   --upper --lower --digits   character classes
//   --special CHARS            the special characters (and their class)
//   --length N                 number of characters, 1 to 1024 (default 16)
//   --template T               template mode: A a C c V v 9 $
//   --words N                  a passphrase of N words, with --separator S,
//                              --capitals and --digit
// With no class given, uppercase, lowercase and digits are used.

#include <string>
#include <vector>

#include "cli/arg_parser.h"
#include "generator/generator_engine.h"

namespace cli {

inline constexpr int kDefaultLength = 16;
inline constexpr int kMaxLength = 1024;

// The option defs above.
std::vector<TOptionDef> GeneratorOptionDefs();
// True when any generator option is present.
bool HasGeneratorOptions(const TParsedArgs& args);
// Throws EUsageError (for `command`) on a bad length or words count, an
// empty special set, class options mixed with a template, a template that
// gives nothing, word options without --words or mixed with characters, or a
// separator with a tab or line break.
TGenOptions GeneratorOptionsFrom(const std::string& command, const TParsedArgs& args);
// One password from the operating system's cryptographic source.
std::string GenerateWith(const TGenOptions& options);

// A whole number in [low, high], or EUsageError naming the option.
int ParseIntOption(const std::string& command, const std::string& option, const std::string& text,
                   int low, int high);

}  // namespace cli
