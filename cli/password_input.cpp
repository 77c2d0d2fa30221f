#include "cli/password_input.h"

#include <unistd.h>

#include <iostream>

#include "cli/cli_error.h"
#include "cli/terminal_echo.h"
#include "core/descriptor_io.h"
#include "core/secret_wipe.h"

namespace cli {

bool StdinIsTerminal() { return isatty(STDIN_FILENO) == 1; }

namespace {

// Room for any password a person types, so that the line never grows into
// a new buffer and leaves the old one unwiped.
constexpr std::size_t kLineReserve = 1024;

std::optional<TSecretBytes> ReadDescriptorLine(int fd) {
  std::string line;
  line.reserve(kLineReserve);
  bool any = false;
  for (char byte = 0;;) {
    if (ReadFully(fd, &byte, 1).count == 0) break;
    any = true;
    if (byte == '\n') break;
    // A longer line than any password moves without leaving a copy.
    if (line.size() == line.capacity()) ReserveWiping(line, line.capacity() * 2);
    line.push_back(byte);
  }
  if (!any) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return TSecretBytes(std::move(line));
}

}  // namespace

std::optional<TSecretBytes> ReadPasswordLine(std::istream& in) {
  if (&in == &std::cin) return ReadDescriptorLine(STDIN_FILENO);
  std::string line;
  // getline fails only when nothing at all was left; a last line without a
  // line break still counts.
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return TSecretBytes(std::move(line));
}

std::optional<TSecretBytes> TStreamPasswordInput::Ask(const std::string& prompt) {
  if (!interactive_) return ReadPasswordLine(in_);
  // Echo goes off before the prompt shows, so nothing typed after it is seen.
  TTerminalEchoOff echoOff;
  promptOut_ << prompt << std::flush;
  return ReadPasswordLine(in_);
}

TSecretBytes AskNewPassword(TPasswordInput& input) {
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
