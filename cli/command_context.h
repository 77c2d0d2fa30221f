#pragma once
// What every command gets: its parsed arguments, where its output and
// messages go, and where passwords come from.

#include <ostream>
#include <string>

#include "cli/arg_parser.h"
#include "cli/password_input.h"

namespace cli {

struct TCliContext {
  std::string command;
  TParsedArgs args;
  std::ostream& out;
  std::ostream& err;
  TPasswordInput& passwords;
};

// Throws EUsageError unless exactly the named positionals were given.
void RequirePositionals(const TCliContext& ctx, std::initializer_list<const char*> names);

// Writes "vornix-cli: warning: TEXT" to standard error.
void Warn(const TCliContext& ctx, const std::string& text);

// The commands; each returns its exit status or throws ECliError.
int RunList(TCliContext& ctx);
int RunShow(TCliContext& ctx);
int RunDump(TCliContext& ctx);
int RunInfo(TCliContext& ctx);
int RunAdd(TCliContext& ctx);
int RunEdit(TCliContext& ctx);
int RunRemove(TCliContext& ctx);
int RunGenerate(TCliContext& ctx);
int RunStrength(TCliContext& ctx);
int RunPasswd(TCliContext& ctx);
int RunCreate(TCliContext& ctx);
int RunExport(TCliContext& ctx);
int RunImport(TCliContext& ctx);
int RunTotp(TCliContext& ctx);
int RunReport(TCliContext& ctx);
int RunMerge(TCliContext& ctx);
int RunZipPassword(TCliContext& ctx);

}  // namespace cli
