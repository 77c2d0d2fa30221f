#pragma once
// The errors a command ends with: a message for standard error and the exit
// status that goes with it.

#include <stdexcept>
#include <string>

#include "cli/exit_codes.h"

namespace cli {

class ECliError : public std::runtime_error {
 public:
  ECliError(int exitCode, const std::string& message)
      : std::runtime_error(message), exitCode_(exitCode) {}
  int ExitCode() const { return exitCode_; }

 private:
  int exitCode_;
};

// A wrong command line; the usage text of `command` (empty: the general
// usage) is printed after the message.
class EUsageError : public ECliError {
 public:
  EUsageError(std::string command, const std::string& message)
      : ECliError(kExitUsage, message), command_(std::move(command)) {}
  const std::string& Command() const { return command_; }

 private:
  std::string command_;
};

}  // namespace cli
