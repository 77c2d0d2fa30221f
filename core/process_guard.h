#pragma once
// What both programs do first: keep the passwords they hold out of core
// files, and turn a file size limit into a write error instead of a kill.

// Sets the core file limit to 0 and marks the process not dumpable (so no
// core file and no ptrace by other processes of the same user), unless the
// environment has VORNIX_ALLOW_COREDUMP=1 for debugging. Ignores SIGXFSZ,
// so a write past `ulimit -f` fails with EFBIG and is reported.
void GuardProcessSecrets();
