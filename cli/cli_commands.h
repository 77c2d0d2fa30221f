#pragma once
// vornix-cli's entry: finds the command, parses its arguments, runs it and
// turns its errors into a message and an exit status.

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

class TPasswordInput;

// args are the arguments after the program name.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           TPasswordInput& passwords);

}  // namespace cli
