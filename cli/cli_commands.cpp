#include "cli/cli_commands.h"

#include <string_view>

#include "cli/cli_error.h"
#include "cli/command_context.h"
#include "cli/command_table.h"
#include "cli/usage.h"

#ifndef VORNIX_VERSION
#define VORNIX_VERSION "unknown"
#endif

namespace cli {

namespace {

bool IsHelpWord(std::string_view arg) { return arg == "help" || arg == "--help" || arg == "-h"; }

// "help", "--help", "help COMMAND", "--version".
int RunProgramOption(const std::vector<std::string>& args, std::ostream& out) {
  if (args[0] == "--version") {
    out << "vornix-cli " << VORNIX_VERSION << '\n';
    return kExitOk;
  }
  if (args.size() > 2) throw EUsageError("", "help takes one command name at most");
  if (args.size() == 2 && FindCommand(args[1]) == nullptr) {
    throw EUsageError("", "unknown command \"" + args[1] + "\"");
  }
  out << (args.size() == 2 ? CommandUsage(args[1]) : GeneralUsage());
  return kExitOk;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             TPasswordInput& passwords) {
  if (args.empty()) throw EUsageError("", "no command given");
  if (IsHelpWord(args[0]) || args[0] == "--version") return RunProgramOption(args, out);
  const TCommand* command = FindCommand(args[0]);
  if (command == nullptr) throw EUsageError("", "unknown command \"" + args[0] + "\"");
  const std::string name(command->name);
  TCliContext ctx{name,
                  ParseArgs(name, std::vector<std::string>(args.begin() + 1, args.end()),
                            command->AllOptions()),
                  out, err, passwords};
  if (ctx.args.helpAsked) {
    out << CommandUsage(name);
    return kExitOk;
  }
  return command->run(ctx);
}

}  // namespace

void RequirePositionals(const TCliContext& ctx, std::initializer_list<const char*> names) {
  const std::size_t given = ctx.args.positionals.size();
  if (given < names.size()) {
    throw EUsageError(ctx.command, std::string(names.begin()[given]) + " is missing");
  }
  if (given > names.size()) {
    throw EUsageError(ctx.command,
                      "unexpected argument \"" + ctx.args.positionals[names.size()] + "\"");
  }
}

void Warn(const TCliContext& ctx, const std::string& text) {
  ctx.err << "vornix-cli: warning: " << text << '\n';
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           TPasswordInput& passwords) {
  int status = kExitOk;
  try {
    status = Dispatch(args, out, err, passwords);
  } catch (const EUsageError& e) {
    err << "vornix-cli: " << e.what() << "\n\n" << CommandUsage(e.Command());
    return e.ExitCode();
  } catch (const ECliError& e) {
    out.flush();
    err << "vornix-cli: " << e.what() << '\n';
    return e.ExitCode();
  } catch (const std::exception& e) {
    out.flush();
    err << "vornix-cli: " << e.what() << '\n';
    return kExitFailure;
  }
  if (!out.flush()) {
    err << "vornix-cli: cannot write to standard output\n";
    return kExitFailure;
  }
  return status;
}

}  // namespace cli
