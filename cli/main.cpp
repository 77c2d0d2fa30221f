// vornix-cli: the command-line companion of the Vornix window.
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/password_input.h"
#include "core/process_guard.h"
#include "core/secret_wipe.h"

int main(int argc, char** argv) {
  GuardProcessSecrets();
  std::ios::sync_with_stdio(false);
  cli::TStreamPasswordInput passwords(std::cin, std::cerr, cli::StdinIsTerminal());
  const int status = cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr, passwords);
  std::cout.flush();
  // What the command handled is left in the stack below this frame.
  WipeUnusedStack();
  return status;
}
