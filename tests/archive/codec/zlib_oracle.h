#pragma once
// zlib as the reference peer: raw deflate (windowBits -15) both ways.

#include <string>

#include <zlib.h>

std::string ZlibDeflateRaw(const std::string& input, int level, int strategy = Z_DEFAULT_STRATEGY);
// Returns false when zlib rejects the stream.
bool ZlibInflateRaw(const std::string& input, std::string& output);
