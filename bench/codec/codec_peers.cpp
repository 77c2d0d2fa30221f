#include "codec_peers.h"

#include <libdeflate.h>
#include <zlib.h>

#include <memory>
#include <stdexcept>

namespace {

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

const Bytef* ZBytes(const std::string& s) { return reinterpret_cast<const Bytef*>(s.data()); }

}  // namespace

std::string ZlibDeflate(const std::string& in, int level) {
  z_stream zs{};
  deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&zs, in.size()), '\0');
  zs.next_in = const_cast<Bytef*>(ZBytes(in));
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("zlib deflate failed");
  return out;
}

std::uint32_t ZlibInflate(const std::string& in, std::string& out, bool withCrc) {
  z_stream zs{};
  inflateInit2(&zs, -15);
  zs.next_in = const_cast<Bytef*>(ZBytes(in));
  zs.avail_in = static_cast<uInt>(in.size());
  out.clear();
  std::string piece(32768, '\0');
  uLong crc = crc32(0, nullptr, 0);
  int rc = Z_OK;
  while (rc == Z_OK) {
    zs.next_out = reinterpret_cast<Bytef*>(piece.data());
    zs.avail_out = static_cast<uInt>(piece.size());
    rc = inflate(&zs, Z_NO_FLUSH);
    const std::size_t got = piece.size() - zs.avail_out;
    if (withCrc) crc = crc32(crc, ZBytes(piece), static_cast<uInt>(got));
    out.append(piece.data(), got);
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) throw std::runtime_error("zlib inflate failed");
  return static_cast<std::uint32_t>(crc);
}

std::string ZlibDeflateWithCrc(const std::string& in) {
  volatile uLong crc = crc32(0, ZBytes(in), static_cast<uInt>(in.size()));
  (void)crc;
  return ZlibDeflate(in, 6);
}

std::uint32_t LibdeflateInflate(const std::string& in, std::string& out, bool withCrc) {
  static const std::unique_ptr<libdeflate_decompressor, DecompressorFree> d(
      libdeflate_alloc_decompressor());
  std::size_t got = 0;
  if (libdeflate_deflate_decompress(d.get(), in.data(), in.size(), out.data(), out.size(),
                                    &got) != LIBDEFLATE_SUCCESS ||
      got != out.size())
    throw std::runtime_error("libdeflate inflate failed");
  return withCrc ? libdeflate_crc32(0, out.data(), out.size()) : 0;
}

std::string LibdeflateDeflate(const std::string& in, int level) {
  const std::unique_ptr<libdeflate_compressor, CompressorFree> c(
      libdeflate_alloc_compressor(level));
  std::string out(libdeflate_deflate_compress_bound(c.get(), in.size()), '\0');
  const std::size_t n =
      libdeflate_deflate_compress(c.get(), in.data(), in.size(), out.data(), out.size());
  if (n == 0) throw std::runtime_error("libdeflate deflate failed");
  out.resize(n);
  return out;
}
