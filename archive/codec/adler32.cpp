// Adler-32: the two sums are reduced modulo 65521 only every 5552 bytes, the
// largest run for which the 32-bit sums cannot overflow.
#include "archive/codec/adler32.h"

namespace {
constexpr std::uint32_t kBase = 65521;
constexpr std::size_t kMaxRun = 5552;
}  // namespace

std::uint32_t Adler32Update(std::uint32_t adler, const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  std::uint32_t a = adler & 0xFFFF;
  std::uint32_t b = adler >> 16;
  while (size > 0) {
    std::size_t run = size < kMaxRun ? size : kMaxRun;
    size -= run;
    while (run-- > 0) {
      a += *p++;
      b += a;
    }
    a %= kBase;
    b %= kBase;
  }
  return (b << 16) | a;
}
