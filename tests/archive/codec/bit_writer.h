#pragma once
// Builds Deflate bit streams by hand for the decoder tests: fields are
// appended least significant bit first, Huffman codes most significant first.

#include <cstdint>
#include <string>

class BitWriter {
 public:
  // Appends the low count bits of value, least significant first.
  BitWriter& Bits(std::uint32_t value, int count);
  // Appends a Huffman code of count bits, most significant bit first.
  BitWriter& Code(std::uint32_t code, int count);
  // Pads to the next byte boundary with zero bits.
  BitWriter& Align();
  BitWriter& Bytes(const std::string& bytes);
  // Fixed-Huffman codes of RFC 1951 section 3.2.6.
  BitWriter& FixedLiteral(int symbol);
  BitWriter& FixedDistance(int symbol) { return Code(static_cast<std::uint32_t>(symbol), 5); }
  std::string Finish();

 private:
  std::string out_;
  std::uint32_t acc_ = 0;
  int count_ = 0;
};

// Test data helpers.
std::string HexToBytes(const std::string& hex);
std::string TextSample(std::size_t size, unsigned seed);
std::string RandomBytes(std::size_t size, unsigned seed);
