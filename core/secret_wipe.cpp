#include "core/secret_wipe.h"

#include <string.h>

void WipeString(std::string& text) {
  // The whole capacity: a shorter value may have been written over a longer
  // one that still lies beyond the end. explicit_bzero is not optimised away.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}
