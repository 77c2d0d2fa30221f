#pragma once
// The two libraries our codec is measured against, called the way a ZIP
// reader or writer would use them on whole in-memory buffers.

#include <cstdint>
#include <string>

// zlib, raw Deflate (window 15, memLevel 8) at the given level.
std::string ZlibDeflate(const std::string& in, int level);
// zlib inflate in 32 KiB pieces appended to out (size unknown in advance),
// with the CRC-32 of the pieces; withCrc false skips the CRC.
std::uint32_t ZlibInflate(const std::string& in, std::string& out, bool withCrc);
// zlib level 6 plus the CRC-32 of the input, which a ZIP writer needs and
// our encoder computes as it reads.
std::string ZlibDeflateWithCrc(const std::string& in);

// libdeflate on whole buffers: out must already have the decoded size (it
// needs it in advance); withCrc adds libdeflate's own CRC-32 pass.
std::uint32_t LibdeflateInflate(const std::string& in, std::string& out, bool withCrc);
std::string LibdeflateDeflate(const std::string& in, int level);
