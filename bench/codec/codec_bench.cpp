// Codec benchmark: our Inflate and Deflate beside zlib and libdeflate on the
// same buffers in the same run. Every figure is a ratio, the peer's time over
// ours (above 1: ours is faster), as the median of --runs side-by-side runs
// with the lowest and highest; CRC-32 is computed by every side (ours always
// computes it; the peers get their library's CRC pass).
//   codec_bench [--scale S] [--runs N] [--repeat N]
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "bench_inputs.h"
#include "bench_timing.h"
#include "codec_peers.h"
#include "crypto_bench.h"

namespace {

std::string OurDeflate(const std::string& in) {
  TMemoryStream source(in);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetLevelLetter('0');
  helper.SetLevelLetter('n');
  Deflate(source, dest, &helper);
  return dest.TakeBytes();
}

// Into a memory stream that grows as it is written, as zlib's string does.
// The source stream is made once by the caller: the peers read their input
// in place, so copying it into a fresh stream per run would be unfair.
std::uint32_t OurInflate(TMemoryStream& source, std::string& out) {
  source.SetPosition(0);
  TMemoryStream dest;
  const std::uint32_t crc = Inflate(source, dest, nullptr);
  out = dest.TakeBytes();
  return crc;
}

// The archive reader's path: a fresh memory stream reserved for the size the
// ZIP directory declares.
std::uint32_t OurInflateReserved(TMemoryStream& source, std::string& out) {
  source.SetPosition(0);
  TMemoryStream dest;
  ReserveInflateOutput(dest, out.size());
  const std::uint32_t crc = Inflate(source, dest, nullptr);
  out = dest.TakeBytes();
  return crc;
}

// Into a buffer of the final size kept from run to run, as libdeflate gets
// (with the decoder's few KiB of scratch reserved behind it).
std::uint32_t OurInflateSized(TMemoryStream& source, std::string& out) {
  source.SetPosition(0);
  TMemoryStream dest(std::move(out));
  dest.SetPosition(0);
  ReserveInflateOutput(dest, static_cast<std::size_t>(dest.Size()));
  const std::uint32_t crc = Inflate(source, dest, nullptr);
  out = dest.TakeBytes();
  return crc;
}

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

void PrintRatio(const char* label, const TRatio& r) {
  std::printf(" | %s x%.2f (%.2f-%.2f)", label, r.median, r.low, r.high);
}

void Bench(const BenchInput& input, int runs) {
  const std::string& data = input.bytes;
  const std::uint32_t crc = Crc32(data.data(), data.size());
  const std::string zlib6 = ZlibDeflate(data, 6);
  const std::string ours = OurDeflate(data);
  std::string scratch(data.size(), '\0');
  std::string sized(data.size(), '\0');
  TMemoryStream zlibStream(zlib6);
  TMemoryStream ourStream(ours);

  // Every decoder must agree with the input before anything is timed.
  Check(ZlibInflate(zlib6, scratch, true) == crc && scratch == data, "zlib round trip failed");
  Check(LibdeflateInflate(zlib6, sized, true) == crc && sized == data, "libdeflate failed");
  Check(OurInflate(zlibStream, scratch) == crc && scratch == data, "our inflate failed");
  Check(OurInflate(ourStream, scratch) == crc && scratch == data, "our round trip failed");
  std::string ourSized(data.size(), '\0');
  Check(OurInflateSized(zlibStream, ourSized) == crc && ourSized == data, "sized inflate failed");
  std::string reserved(data.size(), '\0');
  Check(OurInflateReserved(zlibStream, reserved) == crc && reserved == data,
        "reserved inflate failed");

  auto ourInflate = [&] { OurInflate(zlibStream, scratch); };
  const TRatio infZlib = SideBySide(runs, ourInflate, [&] { ZlibInflate(zlib6, scratch, true); });
  auto libInflate = [&] { LibdeflateInflate(zlib6, sized, true); };
  const TRatio infLib =
      SideBySide(runs, [&] { OurInflateReserved(zlibStream, reserved); }, libInflate);
  const TRatio infLibSized =
      SideBySide(runs, [&] { OurInflateSized(zlibStream, ourSized); }, libInflate);
  auto ourDeflate = [&] { OurDeflate(data); };
  const TRatio defZlib = SideBySide(runs, ourDeflate, [&] { ZlibDeflateWithCrc(data); });

  std::printf("%-11s %9zu", input.name.c_str(), data.size());
  PrintRatio("inflate vs zlib", infZlib);
  PrintRatio("vs libdeflate", infLib);
  PrintRatio("sized", infLibSized);
  PrintRatio("deflate vs zlib-6", defZlib);
  std::printf(" | size zlib-6 %zu ours %zu (%+.2f%%)\n", zlib6.size(), ours.size(),
              100.0 * (static_cast<double>(ours.size()) / static_cast<double>(zlib6.size()) - 1));
}

}  // namespace

int main(int argc, char** argv) {
  double scale = 1.0;
  int runs = 5;
  int repeat = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--scale") == 0) scale = std::stod(argv[i + 1]);
    if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::stoi(argv[i + 1]));
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::stoi(argv[i + 1]));
  }
  try {
    std::vector<BenchInput> inputs = MakeBenchInputs(scale);
    // Long matches at a short distance over 4 MiB.
    for (BenchInput& input : inputs)
      if (input.name == "repetitive") input.bytes = Repetitive(input.bytes.size() * 2);
    for (const BenchInput& input : inputs) Bench(input, runs);
    BenchCrc(scale, repeat);
    BenchCrypto(scale, repeat);
    BenchAes(scale, repeat);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "codec_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
