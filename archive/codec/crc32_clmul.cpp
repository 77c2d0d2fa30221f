// CRC-32 by carry-less multiplication (PCLMULQDQ), for x86-64 processors that
// have it; crc32.cpp picks this path at run time.
//
// Design: the message is a polynomial over GF(2) and only its remainder
// modulo P matters. A 128-bit block A that lies D bits before block B can be
// replaced by A * x^D mod P added into B. Splitting A into 64-bit halves H
// and L, that is H * (x^(D+64) mod P) + L * (x^D mod P): two carry-less
// multiplications of a 64-bit half by a 32-bit constant, each result under
// 128 bits. The hot loop keeps four such accumulators 64 bytes apart, so
// four independent multiply chains hide the instruction's latency and each
// step consumes 64 bytes. The four are then folded into one, remaining
// 16-byte blocks are folded in, and the final 16 bytes - whose remainder
// equals that of everything folded so far - go through the table code with
// the tail. Input: any pointer and length; loads are unaligned.
//
// The multiply's throughput, not its latency, bounds that loop (eight
// accumulators run no faster than four), so processors with the 256-bit
// form (VPCLMULQDQ) fold two blocks per instruction: four 32-byte
// accumulators 128 bytes apart, about twice the speed. They are folded
// pairwise into two registers, whose four blocks then take the path above.
#include "archive/codec/crc32_paths.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

#include <immintrin.h>

#include <cstring>

namespace crc32_paths {
namespace {

#define VORNIX_CLMUL __attribute__((target("pclmul,sse4.1")))
#define VORNIX_VCLMUL __attribute__((target("avx2,vpclmulqdq,pclmul,sse4.1")))

// Constants for moving a block forward by 512 bits (one step of the four
// accumulators) and by 128 bits (one block). The low half multiplies the
// block's first 8 bytes (the higher powers), the high half its last 8.
constexpr std::uint64_t kFold1024Lo = FoldConstant(1024 + 63);
constexpr std::uint64_t kFold1024Hi = FoldConstant(1024 - 1);
constexpr std::uint64_t kFold512Lo = FoldConstant(512 + 63);
constexpr std::uint64_t kFold512Hi = FoldConstant(512 - 1);
constexpr std::uint64_t kFold128Lo = FoldConstant(128 + 63);
constexpr std::uint64_t kFold128Hi = FoldConstant(128 - 1);

VORNIX_CLMUL inline __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Returns block * x^D mod P (not fully reduced) added to next.
VORNIX_CLMUL inline __m128i Fold(__m128i block, __m128i k, __m128i next) {
  __m128i lo = _mm_clmulepi64_si128(block, k, 0x00);
  __m128i hi = _mm_clmulepi64_si128(block, k, 0x11);
  return _mm_xor_si128(_mm_xor_si128(lo, hi), next);
}

// The 16-byte blocks left are folded into x one by one; x's remainder is
// that of everything folded, so it goes through the table code with the
// tail.
VORNIX_CLMUL inline std::uint32_t Finish(__m128i x, __m128i k128, const unsigned char* p,
                                         std::size_t size) {
  for (; size >= 16; p += 16, size -= 16) x = Fold(x, k128, Load(p));
  unsigned char last[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(last), x);
  return UpdateTable(UpdateTable(0, last, sizeof last), p, size);
}

VORNIX_VCLMUL inline __m256i Load256(const unsigned char* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// Fold on both 128-bit halves at once.
VORNIX_VCLMUL inline __m256i Fold256(__m256i blocks, __m256i k, __m256i next) {
  __m256i lo = _mm256_clmulepi64_epi128(blocks, k, 0x00);
  __m256i hi = _mm256_clmulepi64_epi128(blocks, k, 0x11);
  return _mm256_xor_si256(_mm256_xor_si256(lo, hi), next);
}

VORNIX_VCLMUL inline __m256i Constant256(std::uint64_t hi, std::uint64_t lo) {
  const auto h = static_cast<long long>(hi);
  const auto l = static_cast<long long>(lo);
  return _mm256_set_epi64x(h, l, h, l);
}

}  // namespace

bool ClmulAvailable() {
  static const bool available =
      __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return available;
}

VORNIX_CLMUL std::uint32_t UpdateClmul(std::uint32_t crc, const unsigned char* p,
                                       std::size_t size) {
  if (size < 64) return UpdateTable(crc, p, size);
  const __m128i k512 =
      _mm_set_epi64x(static_cast<long long>(kFold512Hi), static_cast<long long>(kFold512Lo));
  const __m128i k128 =
      _mm_set_epi64x(static_cast<long long>(kFold128Hi), static_cast<long long>(kFold128Lo));
  // The running CRC enters as an addition to the first four message bytes.
  __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = Load(p + 16);
  __m128i x2 = Load(p + 32);
  __m128i x3 = Load(p + 48);
  p += 64;
  size -= 64;
  for (; size >= 64; p += 64, size -= 64) {
    x0 = Fold(x0, k512, Load(p));
    x1 = Fold(x1, k512, Load(p + 16));
    x2 = Fold(x2, k512, Load(p + 32));
    x3 = Fold(x3, k512, Load(p + 48));
  }
  return Finish(Fold(Fold(Fold(x0, k128, x1), k128, x2), k128, x3), k128, p, size);
}

bool VclmulAvailable() {
  static const bool available = ClmulAvailable() && __builtin_cpu_supports("avx2") &&
                                __builtin_cpu_supports("vpclmulqdq");
  return available;
}

VORNIX_VCLMUL std::uint32_t UpdateVclmul(std::uint32_t crc, const unsigned char* p,
                                         std::size_t size) {
  if (size < 256) return UpdateClmul(crc, p, size);
  const __m256i k1024 = Constant256(kFold1024Hi, kFold1024Lo);
  const __m256i k512 = Constant256(kFold512Hi, kFold512Lo);
  const __m128i k128 =
      _mm_set_epi64x(static_cast<long long>(kFold128Hi), static_cast<long long>(kFold128Lo));
  const __m128i first = _mm_cvtsi32_si128(static_cast<int>(crc));
  __m256i y0 = _mm256_xor_si256(Load256(p), _mm256_zextsi128_si256(first));
  __m256i y1 = Load256(p + 32);
  __m256i y2 = Load256(p + 64);
  __m256i y3 = Load256(p + 96);
  p += 128;
  size -= 128;
  for (; size >= 128; p += 128, size -= 128) {
    y0 = Fold256(y0, k1024, Load256(p));
    y1 = Fold256(y1, k1024, Load256(p + 32));
    y2 = Fold256(y2, k1024, Load256(p + 64));
    y3 = Fold256(y3, k1024, Load256(p + 96));
  }
  // Each half of y0 (y1) lies 64 bytes before the same half of y2 (y3).
  y2 = Fold256(y0, k512, y2);
  y3 = Fold256(y1, k512, y3);
  __m128i x = Fold(_mm256_castsi256_si128(y2), k128, _mm256_extracti128_si256(y2, 1));
  x = Fold(Fold(x, k128, _mm256_castsi256_si128(y3)), k128, _mm256_extracti128_si256(y3, 1));
  return Finish(x, k128, p, size);
}

}  // namespace crc32_paths

#else

namespace crc32_paths {

bool ClmulAvailable() { return false; }

std::uint32_t UpdateClmul(std::uint32_t crc, const unsigned char* p, std::size_t size) {
  return UpdateTable(crc, p, size);
}

bool VclmulAvailable() { return false; }

std::uint32_t UpdateVclmul(std::uint32_t crc, const unsigned char* p, std::size_t size) {
  return UpdateTable(crc, p, size);
}

}  // namespace crc32_paths

#endif
