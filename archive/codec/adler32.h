#pragma once
// Adler-32 (RFC 1950), the alternative checksum of the codec's option bit 0x20.

#include <cstddef>
#include <cstdint>

// Continues a running Adler-32; start with 1.
std::uint32_t Adler32Update(std::uint32_t adler, const void* data, std::size_t size);
