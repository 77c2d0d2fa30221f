// Codec benchmark: our Inflate and Deflate against zlib on the same inputs in
// the same run. Prints throughput (MB/s of uncompressed data) and sizes.
//   codec_bench [--scale S] [--repeat N]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>

#include "archive/zip/aes_extra.h"
#include "archive/crypto/aes_streams.h"
#include "archive/codec/crc32.h"
#include "archive/codec/crc32_paths.h"
#include "archive/codec/deflate.h"
#include "archive/codec/inflate.h"
#include "archive/crypto/zip_crypto.h"
#include "bench_inputs.h"

namespace {

double BestSeconds(int repeat, const std::function<void()>& run) {
  double best = 1e30;
  for (int i = 0; i < repeat; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

std::string ZlibDeflate(const std::string& in, int level) {
  z_stream zs{};
  deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, in.size()), '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  if (deflate(&zs, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("zlib deflate failed");
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

// Inflates into a growing memory buffer in 32 KiB pieces and checksums the
// pieces: the same work our decoder does into a memory stream for the
// archive reader, which does not know the size in advance.
std::uint32_t ZlibInflate(const std::string& in, std::string& out) {
  z_stream zs{};
  inflateInit2(&zs, -15);
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  zs.avail_in = static_cast<uInt>(in.size());
  out.clear();
  std::string piece(32768, '\0');
  uLong crc = crc32(0, nullptr, 0);
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(piece.data());
    zs.avail_out = static_cast<uInt>(piece.size());
    rc = inflate(&zs, Z_NO_FLUSH);
    std::size_t got = piece.size() - zs.avail_out;
    crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(got));
    out.append(piece.data(), got);
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("zlib inflate failed");
  return static_cast<std::uint32_t>(crc);
}

// zlib level 6 plus the CRC-32 of the input, which a ZIP writer needs and
// our encoder computes as it reads.
std::string ZlibDeflateWithCrc(const std::string& in, int level) {
  volatile uLong crc =
      crc32(0, reinterpret_cast<const Bytef*>(in.data()), static_cast<uInt>(in.size()));
  (void)crc;
  return ZlibDeflate(in, level);
}

std::string OurDeflate(const std::string& in) {
  TMemoryStream source(in);
  TMemoryStream dest;
  TPlDeflateHelper helper;
  helper.SetLevelLetter('0');
  helper.SetLevelLetter('n');
  Deflate(source, dest, &helper);
  return dest.TakeBytes();
}

// The source stream is made once by the caller: zlib reads its input in
// place, so copying the input into a fresh stream per run would be unfair.
std::uint32_t OurInflate(TMemoryStream& source, std::string& expectedOut) {
  source.SetPosition(0);
  TMemoryStream dest;
  std::uint32_t crc = Inflate(source, dest, nullptr);
  if (dest.Bytes().size() != expectedOut.size())
    throw std::runtime_error("our inflate: wrong size");
  expectedOut = dest.TakeBytes();
  return crc;
}

double MBps(std::size_t bytes, double seconds) { return bytes / 1e6 / seconds; }

void Bench(const BenchInput& input, int repeat) {
  const std::string& data = input.bytes;
  std::string zlib6 = ZlibDeflate(data, 6);
  std::string ours = OurDeflate(data);
  std::string scratch(data.size(), '\0');
  TMemoryStream zlibStream(zlib6);
  TMemoryStream ourStream(ours);

  // Both decoders must agree with the input before anything is timed.
  if (ZlibInflate(zlib6, scratch) != Crc32(data.data(), data.size()) || scratch != data)
    throw std::runtime_error("zlib round trip failed");
  if (OurInflate(zlibStream, scratch) != Crc32(data.data(), data.size()) || scratch != data)
    throw std::runtime_error("our inflate of zlib data failed");
  if (OurInflate(ourStream, scratch) != Crc32(data.data(), data.size()) || scratch != data)
    throw std::runtime_error("our round trip failed");

  double zInf = BestSeconds(repeat, [&] { ZlibInflate(zlib6, scratch); });
  double oInf = BestSeconds(repeat, [&] { OurInflate(zlibStream, scratch); });
  double zDef = BestSeconds(repeat, [&] { ZlibDeflateWithCrc(data, 6); });
  double oDef = BestSeconds(repeat, [&] { OurDeflate(data); });

  std::printf(
      "%-11s %9zu | inflate MB/s zlib %7.1f ours %7.1f x%.2f | deflate size zlib6 %9zu "
      "ours %9zu %+6.2f%% | deflate MB/s zlib6 %6.1f ours %6.1f x%.2f\n",
      input.name.c_str(), data.size(), MBps(data.size(), zInf), MBps(data.size(), oInf),
      zInf / oInf, zlib6.size(), ours.size(),
      100.0 * (static_cast<double>(ours.size()) - static_cast<double>(zlib6.size())) /
          static_cast<double>(zlib6.size()),
      MBps(data.size(), zDef), MBps(data.size(), oDef), zDef / oDef);
}

// CRC-32 alone over the text input: zlib's, ours as selected at run time, and
// our table path (what processors without carry-less multiply get).
void BenchCrc(double scale, int repeat) {
  const std::string data = MakeBenchInputs(scale)[1].bytes;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  volatile std::uint32_t sink = 0;
  double z = BestSeconds(repeat, [&] { sink = crc32(0, p, static_cast<uInt>(data.size())); });
  double o = BestSeconds(repeat, [&] { sink = Crc32(p, data.size()); });
  double t = BestSeconds(repeat, [&] { sink = crc32_paths::UpdateTable(~0u, p, data.size()); });
  (void)sink;
  std::printf("crc32       %9zu | MB/s zlib %7.1f ours %7.1f x%.2f | table path %7.1f\n",
              data.size(), MBps(data.size(), z), MBps(data.size(), o), z / o, MBps(data.size(), t));
}

// Traditional ZIP encryption and decryption of 4 MiB through the member
// streams, in the 32 KiB pieces the archive writer and reader use.
void BenchCrypto(double scale, int repeat) {
  const std::string plain = MakeBenchInputs(scale)[2].bytes + MakeBenchInputs(scale)[1].bytes;
  const std::string password = "correct horse battery staple";
  const std::uint32_t check = 0x12345678u;
  constexpr std::size_t kPiece = 32768;
  std::string sealed;
  auto encrypt = [&] {
    TMemoryStream dest;
    TZipEncryptStream enc(dest, password, check);
    for (std::size_t at = 0; at < plain.size(); at += kPiece)
      enc.WriteExact(plain.data() + at, std::min(kPiece, plain.size() - at));
    sealed = dest.TakeBytes();
  };
  std::string opened(plain.size(), '\0');
  auto decrypt = [&] {
    TMemoryStream source(sealed);
    TZipDecryptStream dec(source, password, check);
    if (!dec.IsValid()) throw std::runtime_error("decryption header rejected");
    for (std::size_t at = 0; at < opened.size(); at += kPiece)
      dec.ReadExact(opened.data() + at, std::min(kPiece, opened.size() - at));
  };
  encrypt();
  decrypt();
  if (opened != plain) throw std::runtime_error("encryption round trip failed");
  double enc = BestSeconds(repeat, encrypt);
  double dec = BestSeconds(repeat, decrypt);
  std::printf("zip crypto  %9zu | encrypt MB/s %7.1f | decrypt MB/s %7.1f\n", plain.size(),
              MBps(plain.size(), enc), MBps(plain.size(), dec));
}

// AES-256 encryption and decryption of the site list through the member
// streams, in 32 KiB pieces. Every run derives its keys (1,000 rounds of
// PBKDF2-HMAC-SHA1), as every member does; that cost is also shown alone.
void BenchAes(double scale, int repeat) {
  const std::string plain = MakeBenchInputs(scale)[0].bytes;
  const std::string password = "correct horse battery staple";
  constexpr std::size_t kPiece = 32768;
  const std::size_t saltSize = AesSaltSize(kAesStrength256);
  auto encrypt = [&] {
    TMemoryStream dest;
    TAesEncryptStream enc(dest, password, kAesStrength256);
    for (std::size_t at = 0; at < plain.size(); at += kPiece)
      enc.WriteExact(plain.data() + at, std::min(kPiece, plain.size() - at));
    enc.Finish();
    return dest.TakeBytes();
  };
  // Every encryption draws a new salt, so decryption works on one kept copy.
  const std::string sealed = encrypt();
  TMemoryStream source(sealed);
  std::string opened(plain.size(), '\0');
  auto decrypt = [&] {
    TAesKeys keys(password, reinterpret_cast<const std::uint8_t*>(sealed.data()), kAesStrength256);
    TSubStream cipher(source, static_cast<std::int64_t>(saltSize + 2),
                      static_cast<std::int64_t>(plain.size()));
    TAesDecryptStream dec(cipher, keys);
    for (std::size_t at = 0; at < opened.size(); at += kPiece)
      dec.ReadExact(opened.data() + at, std::min(kPiece, opened.size() - at));
    TAesAuthCode stored{};
    std::copy_n(sealed.end() - static_cast<std::ptrdiff_t>(stored.size()), stored.size(),
                stored.begin());
    if (!SameAuthCode(dec.Final(), stored)) throw std::runtime_error("AES authentication failed");
  };
  decrypt();
  if (opened != plain) throw std::runtime_error("AES round trip failed");
  double enc = BestSeconds(repeat, encrypt);
  double dec = BestSeconds(repeat, decrypt);
  double keys = BestSeconds(repeat, [&] {
    TAesKeys derived(password, reinterpret_cast<const std::uint8_t*>(sealed.data()),
                     kAesStrength256);
  });
  std::printf(
      "aes-256     %9zu | encrypt MB/s %7.1f | decrypt MB/s %7.1f | key derivation %.2f ms\n",
      plain.size(), MBps(plain.size(), enc), MBps(plain.size(), dec), keys * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  double scale = 1.0;
  int repeat = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--scale") == 0) scale = std::stod(argv[i + 1]);
    if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::stoi(argv[i + 1]));
  }
  try {
    for (const BenchInput& input : MakeBenchInputs(scale)) Bench(input, repeat);
    BenchCrc(scale, repeat);
    BenchCrypto(scale, repeat);
    BenchAes(scale, repeat);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "codec_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
