#include "cli/terminal_echo.h"

#include <termios.h>
#include <unistd.h>
#include <iterator>

namespace cli {

namespace {

// The terminal settings to put back; read by the signal handler, so it is a
// plain global written before the handler is installed.
struct termios g_savedTermios;
volatile std::sig_atomic_t g_echoOff = 0;

void RestoreEcho() {
  if (g_echoOff) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTermios);
    g_echoOff = 0;
  }
}

// Only async-signal-safe calls: restore the terminal, then let the signal do
// what it would have done.
void OnSignal(int signo) {
  RestoreEcho();
  std::signal(signo, SIG_DFL);
  std::raise(signo);
}

}  // namespace

TTerminalEchoOff::TTerminalEchoOff() {
  if (tcgetattr(STDIN_FILENO, &g_savedTermios) != 0) return;
  struct termios quiet = g_savedTermios;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  quiet.c_lflag |= ECHONL;  // the user still sees the Enter as a line break
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &action, &oldActions_[i]);
  }
  installed_ = true;
  g_echoOff = 1;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &quiet) != 0) g_echoOff = 0;
}

TTerminalEchoOff::~TTerminalEchoOff() {
  RestoreEcho();
  if (!installed_) return;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], &oldActions_[i], nullptr);
  }
}

}  // namespace cli
