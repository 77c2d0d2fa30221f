#pragma once
// Runs a program as a child process with the given standard input and
// collects its standard output, standard error and exit status.

#include <string>
#include <vector>

namespace cli_test {

struct TProcessResult {
  int status = -1;  // the exit status; 128 + the signal number when killed
  std::string out;
  std::string err;
};

// argv[0] is the program's path. The child runs in `cwd` when it is not
// empty, with this process's environment plus `extraEnv` ("NAME=value").
TProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                          const std::string& cwd = "",
                          const std::vector<std::string>& extraEnv = {});

}  // namespace cli_test
