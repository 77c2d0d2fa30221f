#include "terminal_session.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace cli_test {

namespace {

constexpr int kQuietLimitMs = 10'000;

}  // namespace

TTerminalSession::TTerminalSession(const std::vector<std::string>& argv, const std::string& cwd) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
  int out[2];
  if (slave_ < 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("no terminal or pipe");
  outRead_ = out[0];

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, slave_, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, slave_, STDERR_FILENO);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::vector<std::string> args = argv;
  std::vector<char*> cargs;
  for (std::string& a : args) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  const int rc = posix_spawn(&pid_, cargs[0], &actions, nullptr, cargs.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (rc != 0) throw std::runtime_error("cannot start the program");
}

TTerminalSession::~TTerminalSession() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    Wait();
  }
  for (int fd : {master_, slave_, outRead_}) {
    if (fd >= 0) close(fd);
  }
}

bool TTerminalSession::Available() {
  const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

bool TTerminalSession::ReadSome(int timeoutMs) {
  pollfd pfd{master_, POLLIN, 0};
  if (poll(&pfd, 1, timeoutMs) <= 0) return false;
  char buffer[1024];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;
  screen_.append(buffer, static_cast<std::size_t>(n));
  return true;
}

bool TTerminalSession::WaitFor(const std::string& text) {
  for (;;) {
    const std::size_t at = screen_.find(text, matched_);
    if (at != std::string::npos) {
      matched_ = at + text.size();
      return true;
    }
    if (!ReadSome(kQuietLimitMs)) return false;
  }
}

void TTerminalSession::Type(const std::string& text) {
  if (write(master_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
    throw std::runtime_error("cannot type at the terminal");
  }
}

void TTerminalSession::Signal(int signo) { kill(pid_, signo); }

int TTerminalSession::Wait() {
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  while (ReadSome(0)) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string TTerminalSession::StandardOutput() {
  std::string text;
  char buffer[1024];
  ssize_t n;
  while ((n = read(outRead_, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

bool TTerminalSession::EchoIsOn() const {
  termios t{};
  return tcgetattr(slave_, &t) == 0 && (t.c_lflag & ECHO) != 0;
}

}  // namespace cli_test
