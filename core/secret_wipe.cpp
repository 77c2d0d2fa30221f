#include "core/secret_wipe.h"

#include <string.h>

void WipeString(std::string& text) {
  // The whole capacity: a shorter value may have been written over a longer
  // one that still lies beyond the end. explicit_bzero is not optimised away.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}

// 256 KiB: far beyond where the commands leave secrets (the registers that
// show's first output spilled lay 7 KiB below main), and a thirty-second of
// the 8 MiB default stack.
[[gnu::noinline]] void WipeUnusedStack() {
  constexpr std::size_t kBytes = 256 * 1024;
  char area[kBytes];
  explicit_bzero(area, sizeof area);
  // The area counts as read, so the wipe is kept.
  asm volatile("" : : "r"(area) : "memory");
}

void ReserveWiping(std::string& text, std::size_t capacity) {
  if (capacity <= text.capacity()) return;
  std::string bigger;
  bigger.reserve(capacity);
  bigger.assign(text);
  WipeString(text);
  text.swap(bigger);
}
