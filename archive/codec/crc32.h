#pragma once
// CRC-32 of the ZIP format (reflected polynomial 0xEDB88320).

#include <cstddef>
#include <cstdint>

// The 256-entry table; Crc32Table()[1] == 0x77073096.
const std::uint32_t* Crc32Table();
// Continues a running CRC held in its internal (not complemented) form:
// start with 0xFFFFFFFF, complement the final value.
std::uint32_t Crc32Update(std::uint32_t crc, const void* data, std::size_t size);
// The finished CRC-32 of a whole buffer.
std::uint32_t Crc32(const void* data, std::size_t size);
