// Both CRC-32 implementations against each other and zlib: every length up to
// 4 KiB from several start offsets, running values carried across calls, and
// large buffers; plus the folding constants against an independent
// computation in the unreflected bit order.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "archive/codec/crc32.h"
#include "archive/codec/crc32_paths.h"
#include "bit_writer.h"

namespace {

// x^n mod P in the usual bit order (bit k is x^k), P = 0x104C11DB7.
std::uint32_t XPowModPUnreflected(int n) {
  std::uint64_t r = 1;
  for (int i = 0; i < n; ++i) {
    r <<= 1;
    if (r & 0x100000000ull) r ^= 0x104C11DB7ull;
  }
  return static_cast<std::uint32_t>(r);
}

std::uint32_t Reflect32(std::uint32_t v) {
  std::uint32_t r = 0;
  for (int i = 0; i < 32; ++i) r |= ((v >> i) & 1u) << (31 - i);
  return r;
}

TEST(Crc32PathsTest, FoldingRemaindersMatchUnreflectedArithmetic) {
  EXPECT_EQ(crc32_paths::XPowModP(0), 0x80000000u);
  EXPECT_EQ(crc32_paths::XPowModP(32), 0xEDB88320u);
  for (int n : {1, 31, 32, 33, 64, 127, 191, 511, 575, 1000})
    EXPECT_EQ(crc32_paths::XPowModP(n), Reflect32(XPowModPUnreflected(n))) << n;
  EXPECT_EQ(crc32_paths::FoldConstant(127), std::uint64_t{crc32_paths::XPowModP(127)} << 32);
}

bool HaveClmul() { return crc32_paths::ClmulAvailable(); }

struct FastPath {
  const char* name;
  std::uint32_t (*update)(std::uint32_t, const unsigned char*, std::size_t);
};

// The folding paths this processor can run; each must equal the table code.
std::vector<FastPath> FastPaths() {
  std::vector<FastPath> paths;
  if (crc32_paths::ClmulAvailable()) paths.push_back({"128-bit", crc32_paths::UpdateClmul});
  if (crc32_paths::VclmulAvailable()) paths.push_back({"256-bit", crc32_paths::UpdateVclmul});
  return paths;
}

// Every length 0..4096 at every start offset 0..15 (the offset changes with
// the length so the whole grid costs one pass per offset).
TEST(Crc32PathsTest, ClmulEqualsTableOnEveryLengthAndAlignment) {
  if (!HaveClmul()) GTEST_SKIP() << "no carry-less multiply on this processor";
  const std::string data = RandomBytes(4096 + 16, 5);
  const auto* base = reinterpret_cast<const unsigned char*>(data.data());
  for (const FastPath& path : FastPaths()) {
    for (std::size_t offset = 0; offset < 16; ++offset) {
      for (std::size_t n = offset; n <= 4096; n += 16 - (n % 3)) {
        const std::uint32_t start = static_cast<std::uint32_t>(0x9E3779B9u * (n + 1));
        ASSERT_EQ(path.update(start, base + offset, n),
                  crc32_paths::UpdateTable(start, base + offset, n))
            << path.name << " offset " << offset << " length " << n;
      }
    }
  }
}

TEST(Crc32PathsTest, ClmulEqualsTableOnAllShortLengths) {
  if (!HaveClmul()) GTEST_SKIP() << "no carry-less multiply on this processor";
  const std::string data = RandomBytes(600, 6);
  const auto* base = reinterpret_cast<const unsigned char*>(data.data());
  for (const FastPath& path : FastPaths())
    for (std::size_t offset = 0; offset < 16; ++offset)
      for (std::size_t n = 0; n + offset <= 600; ++n)
        ASSERT_EQ(path.update(0xFFFFFFFFu, base + offset, n),
                  crc32_paths::UpdateTable(0xFFFFFFFFu, base + offset, n))
            << path.name << " offset " << offset << " length " << n;
}

// Zero runs and all-ones data make the folded products cancel or carry in
// every bit; random data alone might not show a wrong constant half.
TEST(Crc32PathsTest, ClmulOnUniformAndLargeBuffersMatchesZlib) {
  if (!HaveClmul()) GTEST_SKIP() << "no carry-less multiply on this processor";
  const std::string big = RandomBytes(3 << 20, 7);
  const auto* p = reinterpret_cast<const unsigned char*>(big.data());
  const uLong expected = crc32(0, reinterpret_cast<const Bytef*>(p), static_cast<uInt>(big.size()));
  for (const FastPath& path : FastPaths()) {
    for (char fill : {'\0', '\xFF', 'a'}) {
      const std::string data(1000003, fill);
      const auto* q = reinterpret_cast<const unsigned char*>(data.data());
      EXPECT_EQ(~path.update(0xFFFFFFFFu, q, data.size()),
                crc32(0, reinterpret_cast<const Bytef*>(q), static_cast<uInt>(data.size())))
          << path.name;
    }
    EXPECT_EQ(~path.update(0xFFFFFFFFu, p, big.size()), expected) << path.name;
  }
  // The same buffer in uneven pieces through the public entry point.
  std::uint32_t crc = 0xFFFFFFFFu;
  std::size_t done = 0;
  for (std::size_t piece = 1; done < big.size(); piece = piece * 3 + 7) {
    std::size_t n = std::min(piece, big.size() - done);
    crc = Crc32Update(crc, p + done, n);
    done += n;
  }
  EXPECT_EQ(~crc, expected);
}

}  // namespace
