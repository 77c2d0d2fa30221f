// CRC-32, the traditional ZIP cipher and AES-256 streams: throughput in
// MB/s (best of N runs), printed after the codec comparison.
#include "crypto_bench.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "archive/codec/crc32.h"
#include "archive/codec/crc32_paths.h"
#include "archive/crypto/aes_streams.h"
#include "archive/crypto/zip_crypto.h"
#include "archive/zip/aes_extra.h"
#include "bench_inputs.h"
#include "bench_timing.h"

namespace {
double MBps(std::size_t bytes, double seconds) { return bytes / 1e6 / seconds; }
}  // namespace

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

