#pragma once
// Runs a program with a pseudo-terminal as its standard input and standard
// error, as when a person types at it, and its standard output on a pipe.

#include <sys/types.h>

#include <string>
#include <vector>

namespace cli_test {

class TTerminalSession {
 public:
  TTerminalSession(const std::vector<std::string>& argv, const std::string& cwd);
  ~TTerminalSession();
  TTerminalSession(const TTerminalSession&) = delete;
  TTerminalSession& operator=(const TTerminalSession&) = delete;

  // True when this system can open a pseudo-terminal.
  static bool Available();

  // Reads the terminal until `text` shows after the previous match; false
  // when the program closed the terminal or went quiet for ten seconds first.
  bool WaitFor(const std::string& text);
  // Types text at the terminal.
  void Type(const std::string& text);
  void Signal(int signo);
  // Waits for the end; returns the exit status (128 + signal when killed).
  int Wait();

  // Everything the terminal showed: prompts, messages and any echo.
  const std::string& Screen() const { return screen_; }
  std::string StandardOutput();
  // True when the terminal's echo is on (as it must be again after a prompt).
  bool EchoIsOn() const;

 private:
  bool ReadSome(int timeoutMs);

  int master_ = -1;
  int slave_ = -1;
  int outRead_ = -1;
  pid_t pid_ = -1;
  std::string screen_;
  std::size_t matched_ = 0;  // screen_ up to here was matched already
};

}  // namespace cli_test
