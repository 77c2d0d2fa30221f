// Prints a digest of the encoder's output for a fixed set of inputs and every
// level letter (and Deflate64 at level n), one line per case. Speed work on
// the encoder must not change a single output bit. The expected lines are
// kept in tests/archive/codec/deflate_digest.txt and compared by CTest; a
// deliberate change of the output rewrites that file:
//   deflate_digest > tests/archive/codec/deflate_digest.txt
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "archive/codec/deflate.h"
#include "archive/streams.h"
#include "bench_inputs.h"

namespace {

struct Variant {
  const char* label;
  char letter;
  bool deflate64;
};

constexpr Variant kVariants[] = {{"0", '0', false}, {"2", '2', false}, {"f", 'f', false},
                                 {"n", 'n', false}, {"s", 's', false}, {"x", 'x', false},
                                 {"n64", 'n', true}};

std::uint64_t Fnv1a64(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

std::string Compress(const std::string& in, const Variant& variant, std::uint32_t& crc) {
  TMemoryStream source(in);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  // Through letter 0 as the archive engine does: a new record already holds
  // the letter n, so setting n alone would keep the record's own parameters.
  helper.SetLevelLetter('0');
  helper.SetLevelLetter(variant.letter);
  if (variant.deflate64) {
    helper.SetOptions(helper.Options() | deflate_options::kDeflate64);
    helper.WindowBytes = 65536;
  }
  crc = Deflate(source, dest, &helper);
  return dest.TakeBytes();
}

// Prose from a made-up vocabulary, common words far more frequent than rare
// ones. The benchmark's own text input is read from the licence files
// installed on the machine, which would make the expected digests local.
std::string Prose(std::size_t size) {
  std::mt19937 rng(2026);
  const std::string syllables[] = {"ka", "lo", "mer", "sti", "an", "ve", "rud", "tho",
                                   "pe", "in", "gal", "su",  "or", "ne", "bi",  "el"};
  std::vector<std::string> words;
  for (int i = 0; i < 600; ++i) {
    std::string w;
    for (unsigned n = 1 + rng() % 4; n > 0; --n) w += syllables[rng() % 16];
    words.push_back(w);
  }
  std::string out;
  while (out.size() < size) {
    std::uint32_t a = rng() % 600;
    out += words[a * (rng() % 600) / 600];
    std::uint32_t end = rng() % 16;
    out += end == 0 ? ".\n" : end == 1 ? ", " : " ";
  }
  out.resize(size);
  return out;
}

}  // namespace

int main() {
  const std::size_t kSizes[] = {0,     1,     2,     3,     4,      100,     1000,   32767,
                                32768, 32769, 65536, 65537, 300001, 1048576, 3000000};
  std::vector<BenchInput> inputs = MakeBenchInputs(0.35);
  std::erase_if(inputs, [](const BenchInput& input) { return input.name == "text"; });
  inputs.push_back({"prose", Prose(1500000)});
  for (const BenchInput& input : inputs) {
    for (std::size_t size : kSizes) {
      if (size > input.bytes.size()) continue;
      std::string data = input.bytes.substr(0, size);
      for (const Variant& variant : kVariants) {
        std::uint32_t crc = 0;
        std::string out = Compress(data, variant, crc);
        std::printf("%-10s %8zu %-3s %9zu %016llx %08x\n", input.name.c_str(), size, variant.label,
                    out.size(), static_cast<unsigned long long>(Fnv1a64(out)), crc);
      }
    }
  }
  return 0;
}
