// CRC-32 of the ZIP format. Processors with carry-less multiplication use the
// folding code in crc32_clmul.cpp (two blocks per multiply where the 256-bit
// form exists); everything else uses slice-by-16 here: sixteen derived tables
// let the loop fold sixteen input bytes per step with independent lookups,
// several times faster than a byte-at-a-time loop.
#include "archive/codec/crc32.h"

#include <array>
#include <cstring>

#include "archive/codec/crc32_paths.h"

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;
constexpr int kSlices = 16;

using SliceTables = std::array<std::array<std::uint32_t, 256>, kSlices>;

constexpr SliceTables MakeTables() {
  SliceTables t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
    t[0][n] = c;
  }
  // t[s][n] is the CRC of byte n followed by s zero bytes.
  for (int s = 1; s < kSlices; ++s)
    for (std::uint32_t n = 0; n < 256; ++n) t[s][n] = (t[s - 1][n] >> 8) ^ t[0][t[s - 1][n] & 0xFF];
  return t;
}

constexpr SliceTables kTables = MakeTables();
static_assert(kTables[0][1] == 0x77073096u, "standard CRC-32 table");

std::uint32_t LoadLe32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace

const std::uint32_t* Crc32Table() { return kTables[0].data(); }

std::uint32_t crc32_paths::UpdateTable(std::uint32_t crc, const unsigned char* p,
                                       std::size_t size) {
  const auto& t = kTables;
  while (size >= 16) {
    std::uint32_t a = LoadLe32(p) ^ crc;
    std::uint32_t b = LoadLe32(p + 4);
    std::uint32_t c = LoadLe32(p + 8);
    std::uint32_t d = LoadLe32(p + 12);
    crc = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
          t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
          t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
          t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    p += 16;
    size -= 16;
  }
  while (size-- > 0) crc = t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
  return crc;
}

std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(data);
  if (crc32_paths::VclmulAvailable()) return crc32_paths::UpdateVclmul(crc, p, size);
  if (crc32_paths::ClmulAvailable()) return crc32_paths::UpdateClmul(crc, p, size);
  return crc32_paths::UpdateTable(crc, p, size);
}

std::uint32_t Crc32(const void* data, std::size_t size) {
  return ~Crc32Update(0xFFFFFFFFu, data, size);
}
