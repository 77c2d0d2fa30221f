#include <cstdio>

int main() {
  std::fputs("usage: vornix-cli COMMAND ARCHIVE [options]\n", stderr);
  return 64;
}
