#pragma once
// The CRC-32 implementations behind Crc32Update, exposed so that tests can
// check each one against the others on every length and alignment.

#include <cstddef>
#include <cstdint>

namespace crc32_paths {

// Table-driven slice-by-16; runs everywhere.
std::uint32_t UpdateTable(std::uint32_t crc, const unsigned char* p, std::size_t size);

// Carry-less-multiply folding; only valid when ClmulAvailable() is true.
bool ClmulAvailable();
std::uint32_t UpdateClmul(std::uint32_t crc, const unsigned char* p, std::size_t size);

// The same folding, two blocks per multiply; only valid when VclmulAvailable().
bool VclmulAvailable();
std::uint32_t UpdateVclmul(std::uint32_t crc, const unsigned char* p, std::size_t size);

// x^n mod P for the reflected polynomial 0xEDB88320, in the reflected bit
// order (bit 31 is x^0). The folding constants are built from these.
constexpr std::uint32_t XPowModP(int n) {
  std::uint32_t r = 0x80000000u;
  for (int i = 0; i < n; ++i) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
  return r;
}

// The multiplier that moves a 64-bit half of a folded block forward by n + 1
// bits: the remainder of x^n placed in the upper half of a 64-bit operand,
// which is where the reflected carry-less product lines up with the block.
constexpr std::uint64_t FoldConstant(int n) { return std::uint64_t{XPowModP(n)} << 32; }

}  // namespace crc32_paths
