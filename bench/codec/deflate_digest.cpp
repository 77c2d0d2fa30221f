// Prints a digest of the encoder's output for a fixed set of inputs and every
// level letter, one line per case. Speed work on the encoder must not change
// a single output bit; comparing this tool's output before and after a change
// proves that:
//   deflate_digest > before.txt   ...change...   deflate_digest | diff before.txt -
#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/deflate.h"
#include "archive/streams.h"
#include "bench_inputs.h"

namespace {

std::uint64_t Fnv1a64(const std::string& bytes) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
  return h;
}

std::string Compress(const std::string& in, char letter, std::uint32_t& crc) {
  TMemoryStream source(in);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetLevelLetter(letter);
  crc = Deflate(source, dest, &helper);
  return dest.TakeBytes();
}

}  // namespace

int main() {
  const std::size_t kSizes[] = {0,     1,     2,     3,     4,      100,     1000,   32767,
                                32768, 32769, 65536, 65537, 300001, 1048576, 3000000};
  const char kLetters[] = {'0', '2', 'f', 'n', 's', 'x'};
  for (const BenchInput& input : MakeBenchInputs(0.35)) {
    for (std::size_t size : kSizes) {
      if (size > input.bytes.size()) continue;
      std::string data = input.bytes.substr(0, size);
      for (char letter : kLetters) {
        std::uint32_t crc = 0;
        std::string out = Compress(data, letter, crc);
        std::printf("%-10s %8zu %c %9zu %016llx %08x\n", input.name.c_str(), size, letter,
                    out.size(), static_cast<unsigned long long>(Fnv1a64(out)), crc);
      }
    }
  }
  return 0;
}
