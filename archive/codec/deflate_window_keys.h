#pragma once
// The keys of the encoder's hash chains (see deflate_input_window.h): the
// little-endian loads they read, their table slots, and the match length.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace deflate_window {

constexpr std::size_t kHashSize = 16384;  // 14-bit hash
constexpr int kLatestBits = 16;
// The second chain links positions by a hash of their first kLongBytes
// bytes; a search whose best length has reached kLongReach walks it, since
// only candidates with those bytes equal can do better. (8 rather than 6 or
// 7: faster on the site list, a little slower on prose.)
constexpr int kLongBytes = 8;
constexpr int kLongReach = kLongBytes - 1;
constexpr std::uint64_t kLongMask =
    kLongBytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * kLongBytes)) - 1;
constexpr int kLongBits = 16;
static_assert(kLongBytes >= 4 && kLongBytes <= 8);
// Far enough below every position that no position is within a window of it.
constexpr std::int32_t kEmpty = -(1 << 30);

// Loads are little-endian, so that byte 0 is the low byte on every machine
// (the hashes and the match length read them so).
inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
  return v;
}

inline std::uint32_t Load24(const std::uint8_t* p) { return Load32(p) & 0xFFFFFF; }

inline std::size_t LatestSlot(std::uint32_t three) {
  return (three * 0x9E3779B1u) >> (32 - kLatestBits);
}

// The 14-bit hash of the three bytes held in the low 24 bits.
inline std::size_t HeadSlot(std::uint32_t three) {
  return ((three & 0xFF) << 10 ^ (three >> 8 & 0xFF) << 5 ^ three >> 16) & (kHashSize - 1);
}

inline std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

inline std::uint64_t LoadLong(const std::uint8_t* p) { return Load64(p) & kLongMask; }

inline std::size_t LongSlot(std::uint64_t bytes) {
  return static_cast<std::size_t>((bytes * 0x9E3779B97F4A7C15u) >> (64 - kLongBits));
}

// The keys the two chains link positions by: a key's bytes at a position
// and the slot of the table that holds its chain's newest position.
struct ThreeBytes {
  static constexpr int kBytes = 3;
  static std::uint64_t At(const std::uint8_t* p) { return Load24(p); }
  static std::size_t Slot(std::uint64_t key) { return LatestSlot(static_cast<std::uint32_t>(key)); }
};
struct LongBytes {
  static constexpr int kBytes = kLongBytes;
  static std::uint64_t At(const std::uint8_t* p) { return LoadLong(p); }
  static std::size_t Slot(std::uint64_t key) { return LongSlot(key); }
};

// Common prefix of a and b, at most limit bytes, read eight at a time.
inline int MatchLength(const std::uint8_t* a, const std::uint8_t* b, int limit) {
  int len = 0;
  while (len < limit) {
    std::uint64_t diff = Load64(a + len) ^ Load64(b + len);
    if (diff != 0) {
      len += std::countr_zero(diff) >> 3;
      break;
    }
    len += 8;
  }
  return std::min(len, limit);
}

}  // namespace deflate_window
