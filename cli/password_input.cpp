#include "cli/password_input.h"

#include <unistd.h>

#include "cli/cli_error.h"
#include "cli/terminal_echo.h"

namespace cli {

bool StdinIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::optional<std::string> ReadPasswordLine(std::istream& in) {
  std::string line;
  // getline fails only when nothing at all was left; a last line without a
  // line break still counts.
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<std::string> TStreamPasswordInput::Ask(const std::string& prompt) {
  if (!interactive_) return ReadPasswordLine(in_);
  // Echo goes off before the prompt shows, so nothing typed after it is seen.
  TTerminalEchoOff echoOff;
  promptOut_ << prompt << std::flush;
  return ReadPasswordLine(in_);
}

std::string AskNewPassword(TPasswordInput& input) {
  const auto first = input.Ask("New password: ");
  const auto second = first ? input.Ask("Confirm password: ") : std::nullopt;
  if (!first || !second) {
    throw ECliError(kExitFailure, "no new password given: standard input ended");
  }
  if (*first != *second) {
    throw ECliError(kExitFailure, "New password and confirmation must be the same");
  }
  return *first;
}

}  // namespace cli
