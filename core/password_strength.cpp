#include "core/password_strength.h"

#include <zxcvbn.h>

#include <string>

#include "core/secret_bytes.h"

double PasswordEntropyBits(std::string_view utf8) {
  if (utf8.empty()) return 0.0;
  // The estimator wants a terminated string; the copy is wiped when done.
  const TSecretBytes terminated{std::string(utf8)};
  return ZxcvbnMatch(terminated.c_str(), nullptr, nullptr);
}
