#pragma once
// Turns off the echo of standard input's terminal for the lifetime of the
// object. An interrupt, hang-up or termination signal while it is off puts
// the terminal back before the signal takes its usual effect, so a Ctrl+C at
// a password prompt never leaves the user's shell without echo.

#include <csignal>

namespace cli {

class TTerminalEchoOff {
 public:
  TTerminalEchoOff();
  ~TTerminalEchoOff();
  TTerminalEchoOff(const TTerminalEchoOff&) = delete;
  TTerminalEchoOff& operator=(const TTerminalEchoOff&) = delete;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  struct sigaction oldActions_[sizeof(kSignals) / sizeof(kSignals[0])] = {};
  bool installed_ = false;
};

}  // namespace cli
