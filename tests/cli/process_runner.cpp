#include "process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace cli_test {

namespace {

// A pipe whose ends close themselves.
struct TPipe {
  int fds[2] = {-1, -1};
  TPipe() {
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~TPipe() {
    CloseEnd(0);
    CloseEnd(1);
  }
  void CloseEnd(int end) {
    if (fds[end] >= 0) close(fds[end]);
    fds[end] = -1;
  }
};

std::vector<char*> CStrings(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// This process's environment with the given entries added or replaced.
std::vector<std::string> MergedEnvironment(std::vector<std::string> extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const std::string& x : extra) replaced = replaced || x.rfind(name, 0) == 0;
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

pid_t Spawn(std::vector<std::string> argv, const std::string& cwd, std::vector<std::string> env,
            TPipe& in, TPipe& out, TPipe& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.fds[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.fds[1], STDERR_FILENO);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  env = MergedEnvironment(std::move(env));
  std::vector<char*> args = CStrings(argv);
  std::vector<char*> envp = CStrings(env);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error(std::string("cannot start ") + argv[0]);
  return pid;
}

// Feeds the input and drains both outputs together, so a child that writes
// a lot before reading never blocks against us.
void Exchange(const std::string& input, TPipe& in, TPipe& out, TPipe& err, TProcessResult& result) {
  std::size_t written = 0;
  if (input.empty()) in.CloseEnd(1);
  while (out.fds[0] >= 0 || err.fds[0] >= 0) {
    pollfd fds[3] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}, {in.fds[1], POLLOUT, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    if (fds[2].revents != 0) {
      const ssize_t n = write(in.fds[1], input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n <= 0 || written == input.size()) in.CloseEnd(1);
    }
    TPipe* sources[2] = {&out, &err};
    std::string* sinks[2] = {&result.out, &result.err};
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(sources[i]->fds[0], buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        sources[i]->CloseEnd(0);
      }
    }
  }
}

}  // namespace

TProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                          const std::string& cwd, const std::vector<std::string>& extraEnv) {
  std::signal(SIGPIPE, SIG_IGN);  // a child that exits unread must not kill us
  TPipe in, out, err;
  const pid_t pid = Spawn(argv, cwd, extraEnv, in, out, err);
  in.CloseEnd(0);
  out.CloseEnd(1);
  err.CloseEnd(1);
  TProcessResult result;
  Exchange(input, in, out, err, result);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace cli_test
