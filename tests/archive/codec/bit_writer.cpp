#include "bit_writer.h"

#include <random>
#include <vector>

BitWriter& BitWriter::Bits(std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) {
    acc_ |= ((value >> i) & 1u) << count_;
    if (++count_ == 8) {
      out_.push_back(static_cast<char>(acc_));
      acc_ = 0;
      count_ = 0;
    }
  }
  return *this;
}

BitWriter& BitWriter::Code(std::uint32_t code, int count) {
  for (int i = count - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
  return *this;
}

BitWriter& BitWriter::Align() {
  if (count_ > 0) Bits(0, 8 - count_);
  return *this;
}

BitWriter& BitWriter::Bytes(const std::string& bytes) {
  for (char c : bytes) Bits(static_cast<unsigned char>(c), 8);
  return *this;
}

BitWriter& BitWriter::FixedLiteral(int s) {
  if (s < 144) return Code(0x30 + s, 8);
  if (s < 256) return Code(0x190 + (s - 144), 9);
  if (s < 280) return Code(s - 256, 7);
  return Code(0xC0 + (s - 280), 8);
}

std::string BitWriter::Finish() {
  Align();
  return out_;
}

std::string HexToBytes(const std::string& hex) {
  std::string out;
  int hi = -1;
  for (char c : hex) {
    int v = c >= '0' && c <= '9'   ? c - '0'
            : c >= 'a' && c <= 'f' ? c - 'a' + 10
            : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                   : -1;
    if (v < 0) continue;
    if (hi < 0) {
      hi = v;
    } else {
      out.push_back(static_cast<char>(hi << 4 | v));
      hi = -1;
    }
  }
  return out;
}

std::string TextSample(std::size_t size, unsigned seed) {
  static const std::vector<std::string> words = {
      "the",    "of",   "and",   "password", "site", "user",  "archive", "window",
      "to",     "in",   "is",    "a",        "list", "entry", "mail",    "https://",
      "www.",   ".com", "login", "account",  "bank", "shop",  "forum",   "notes",
      "secret", "key",  "name",  "open",     "save", "data"};
  std::mt19937 rng(seed);
  std::string out;
  while (out.size() < size) {
    out += words[rng() % words.size()];
    out += (rng() % 12 == 0) ? "\r\n" : " ";
  }
  out.resize(size);
  return out;
}

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng());
  return out;
}
