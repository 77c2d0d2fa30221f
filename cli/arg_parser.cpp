#include "cli/arg_parser.h"

#include <algorithm>

#include "cli/cli_error.h"

namespace cli {

bool TParsedArgs::Has(std::string_view name) const { return options_.find(name) != options_.end(); }

std::optional<std::string> TParsedArgs::Value(std::string_view name) const {
  auto it = options_.find(name);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

void TParsedArgs::Set(const std::string& command, const std::string& name, std::string value) {
  if (!options_.emplace(name, std::move(value)).second) {
    throw EUsageError(command, "option --" + name + " is given more than once");
  }
}

namespace {

const TOptionDef* FindDef(const std::vector<TOptionDef>& defs, std::string_view name) {
  auto it = std::find_if(defs.begin(), defs.end(),
                         [name](const TOptionDef& def) { return def.name == name; });
  return it == defs.end() ? nullptr : &*it;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

}  // namespace

TParsedArgs ParseArgs(const std::string& command, const std::vector<std::string>& args,
                      const std::vector<TOptionDef>& defs) {
  TParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !IsOption(arg)) {
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      parsed.helpAsked = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) throw EUsageError(command, "unknown option " + arg);
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const TOptionDef* def = FindDef(defs, name);
    if (def == nullptr) throw EUsageError(command, "unknown option --" + name);
    if (!def->takesValue) {
      if (eq != std::string::npos)
        throw EUsageError(command, "option --" + name + " takes no value");
      parsed.Set(command, name, "");
    } else if (eq != std::string::npos) {
      parsed.Set(command, name, arg.substr(eq + 1));
    } else if (i + 1 < args.size()) {
      parsed.Set(command, name, args[++i]);
    } else {
      throw EUsageError(command, "option --" + name + " needs a value");
    }
  }
  return parsed;
}

}  // namespace cli
