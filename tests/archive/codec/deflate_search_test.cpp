// The encoder's search against a plain one: at every searched position the
// result must be the longest match among the budgeted newest positions of
// the 14-bit hash chain (newest first wins a tie, a sufficient length ends
// the search), whatever chains and tables the fast search keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive/codec/deflate_input_window.h"
#include "bit_writer.h"

namespace {

// The 14-bit hash of the three bytes at each position that has three.
std::vector<unsigned> CoarseHashes(const std::string& in) {
  std::vector<unsigned> out;
  const auto* b = reinterpret_cast<const unsigned char*>(in.data());
  for (std::size_t p = 0; p + 2 < in.size(); ++p)
    out.push_back(((b[p] << 10) ^ (b[p + 1] << 5) ^ b[p + 2]) & 0x3FFF);
  return out;
}

TPlDfInputWindow::Match PlainSearch(const std::string& in, const std::vector<unsigned>& hashes,
                                    std::size_t p, std::size_t window, int maxMatch, int pending,
                                    int sufficient, int chainLimit) {
  const int m = static_cast<int>(std::min<std::size_t>(maxMatch, in.size() - p));
  if (pending > 0 && m <= pending) return {};
  const int s = std::min(sufficient, m);
  int best = pending > 0 ? pending : 2;
  int left = best >= s ? chainLimit / 4 : chainLimit;
  TPlDfInputWindow::Match found;
  for (std::size_t q = p; q-- > (p > window ? p - window : 0) && left > 0;) {
    if (hashes[q] != hashes[p]) continue;
    --left;
    int len = 0;
    while (len < m && in[q + len] == in[p + len]) ++len;
    if (len <= best) continue;
    best = len;
    found = {len, static_cast<int>(p - q)};
    if (len >= s) break;
  }
  return found;
}

// Long shared prefixes (as in a site list), a small alphabet, long runs at a
// short distance, and a copy exactly one window back.
std::string SharedPrefixes(std::size_t size) {
  std::string out;
  for (unsigned i = 0; out.size() < size; ++i)
    out += "user.mail" + std::to_string(i % 37) + "@example.com\thttps://www.s" +
           std::to_string(i % 11) + RandomBytes(9, i).substr(0, 3 + i % 7) + "\r\n";
  return out.substr(0, size);
}
std::string SmallAlphabetAndRuns(std::size_t size) {
  std::string out = RandomBytes(size / 2, 7);
  for (char& ch : out) ch = static_cast<char>('a' + static_cast<unsigned char>(ch) % 3);
  while (out.size() < size) out += std::string(300, 'x') + RandomBytes(33, 5) + RandomBytes(33, 5);
  return out.substr(0, size);
}

// A phrase cut to various lengths and repeated from various offsets at
// once: matches at short distances that beat ones far back, so the newest
// candidates lie within the best length of the current position.
std::string Phrases(std::size_t size) {
  const std::string phrase = "the cat sat on the mat ";
  const std::string picks = RandomBytes(size, 6);
  std::string out;
  for (std::size_t i = 0; out.size() < size; ++i) {
    const auto k = static_cast<unsigned char>(picks[i]);
    const std::string cut = phrase.substr(0, 8 + k % 16);
    out += cut + cut.substr(k % 5) + (k < 100 ? "; " : " ");
  }
  return out.substr(0, size);
}

struct SearchCase {
  const char* name;
  std::string input;
  std::size_t window;
  int maxMatch;
};

TEST(DeflateSearchTest, EverySearchMatchesThePlainSearch) {
  const std::string once = RandomBytes(65536, 9);
  const SearchCase cases[] = {
      {"shared prefixes", SharedPrefixes(40000), 1024, 258},
      {"shared prefixes, full window", SharedPrefixes(70000), 32768, 258},
      {"small alphabet, runs", SmallAlphabetAndRuns(30000), 256, 258},
      {"small alphabet, runs, larger window", SmallAlphabetAndRuns(30000), 2048, 258},
      {"one window back, Deflate64", once + once, 65536, 65536},
      {"phrases, full window", Phrases(80000), 32768, 258},
  };
  // Settings of the levels (sufficient length, budget) and pending lengths
  // on both sides of the reach of each chain.
  const int settings[][2] = {{32, 64}, {16, 32}, {4, 4}, {258, 4096}, {8, 32}};
  const int pendings[] = {0, 0, 3, 4, 5, 6, 7, 12, 14, 15, 16, 40};
  // Moves on as the matcher does: by one, or past a match (at most the
  // longest match, which the look-ahead always holds).
  const std::size_t advances[] = {1, 1, 2, 1, 40, 257, 1, 33, 3, 258};
  for (const SearchCase& c : cases) {
    const std::vector<unsigned> hashes = CoarseHashes(c.input);
    TMemoryStream source(c.input);
    TPlDfInputWindow window(source, static_cast<std::uint32_t>(c.window), c.maxMatch, false);
    int searches = 0;
    for (window.Prepare(); window.Left() >= 3; window.Prepare(), ++searches) {
      const auto p = static_cast<std::size_t>(window.Offset());
      const int* setting = settings[searches % 5];
      const int pending = pendings[searches % 12];
      const TPlDfInputWindow::Match got = window.Search(pending, setting[0], setting[1]);
      const TPlDfInputWindow::Match want =
          PlainSearch(c.input, hashes, p, c.window, c.maxMatch, pending, setting[0], setting[1]);
      ASSERT_EQ(got.length, want.length) << c.name << " at " << p;
      ASSERT_EQ(got.distance, want.distance) << c.name << " at " << p;
      window.Advance(std::min(advances[searches % 10], window.Left()));
    }
    EXPECT_GT(searches, 100) << c.name;
  }
}

}  // namespace
