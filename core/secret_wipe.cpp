#include "core/secret_wipe.h"

#include <string.h>

void WipeString(std::string& text) {
  // The whole capacity: a shorter value may have been written over a longer
  // one that still lies beyond the end. explicit_bzero is not optimised away.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}

void ReserveWiping(std::string& text, std::size_t capacity) {
  if (capacity <= text.capacity()) return;
  std::string bigger;
  bigger.reserve(capacity);
  bigger.assign(text);
  WipeString(text);
  text.swap(bigger);
}
