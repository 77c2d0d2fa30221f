#include "core/process_guard.h"

#include <sys/prctl.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

bool CoreDumpsAllowed() {
  const char* allow = std::getenv("VORNIX_ALLOW_COREDUMP");
  return allow != nullptr && std::strcmp(allow, "1") == 0;
}

}  // namespace

void GuardProcessSecrets() {
  std::signal(SIGXFSZ, SIG_IGN);
  if (CoreDumpsAllowed()) return;
  const rlimit none{0, 0};
  ::setrlimit(RLIMIT_CORE, &none);
  ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}
