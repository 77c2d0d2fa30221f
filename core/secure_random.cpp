#include "core/secure_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

void SecureRandomBytes(void* buffer, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (size > 0) {
    const ssize_t got = ::getrandom(out, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) throw std::runtime_error("The system's random source failed");
    out += got;
    size -= static_cast<std::size_t>(got);
  }
}
