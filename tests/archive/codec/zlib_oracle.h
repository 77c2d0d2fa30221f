#pragma once
// zlib as the reference peer: raw deflate (windowBits -15) both ways.

#include <string>
#include <vector>

#include <zlib.h>

std::string ZlibDeflateRaw(const std::string& input, int level, int strategy = Z_DEFAULT_STRATEGY);
// Returns false when zlib rejects the stream.
bool ZlibInflateRaw(const std::string& input, std::string& output);
// Output bytes of each block in zlib's reading of the stream, the final
// block last; empty when zlib rejects the stream.
std::vector<std::size_t> ZlibBlockSizes(const std::string& input);
