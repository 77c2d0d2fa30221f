#pragma once
// Splits a command's arguments into positionals and options.
//
// Options are long only: "--name" for a switch, "--name VALUE" or
// "--name=VALUE" for one with a value (the value may itself start with "-",
// so "--csv -" works). "-h" and "--help" ask for help. "--" ends the options,
// so a site name that starts with "-" can still be given. A lone "-" is a
// positional.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct TOptionDef {
  std::string name;  // without the leading "--"
  bool takesValue = false;
};

class TParsedArgs {
 public:
  bool helpAsked = false;
  std::vector<std::string> positionals;

  bool Has(std::string_view name) const;
  std::optional<std::string> Value(std::string_view name) const;

  // Records an option; throws EUsageError when it was given already.
  void Set(const std::string& command, const std::string& name, std::string value);

 private:
  std::map<std::string, std::string, std::less<>> options_;
};

// Throws EUsageError (for `command`) on an unknown option, a missing value or
// a value given to a switch.
TParsedArgs ParseArgs(const std::string& command, const std::vector<std::string>& args,
                      const std::vector<TOptionDef>& defs);

}  // namespace cli
