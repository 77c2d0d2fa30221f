// Fuzz entry for the decoder. The first byte chooses the variant (bit 0:
// Deflate64, bit 1: test mode) and the destination (bit 2: a stream that is
// not a memory stream, so the output goes through the decoder's window; bit
// 3: a memory stream reserved for a few KiB, so that decoding in place opens
// short pieces and grows the buffer); the rest is the compressed stream. Inflate
// runs with an output limit, so no input can make it allocate without bound.
// Every failure must be the inflate error; a crash, a sanitizer report or any
// other exception is a finding. In Deflate mode zlib serves as an oracle:
// whatever zlib decodes (within the limit) must decode to the same bytes.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/codec/crc32.h"
#include "archive/codec/deflate_helper.h"
#include "archive/codec/inflate.h"
#include "archive/streams.h"

namespace {

constexpr std::int32_t kOutputLimit = 1 << 18;

// zlib's raw inflate; false when it rejects the stream or passes the limit.
bool ZlibInflate(const std::string& in, std::string& out) {
  z_stream zs{};
  if (inflateInit2(&zs, -15) != Z_OK) return false;
  out.assign(kOutputLimit, '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size() - 1);
  int rc = inflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return rc == Z_STREAM_END;
}

// Forwards to a memory stream without being one.
class TForwardingStream final : public TStream {
 public:
  explicit TForwardingStream(TMemoryStream& to) : to_(to) {}
  std::size_t Read(void* buffer, std::size_t count) override { return to_.Read(buffer, count); }
  std::size_t Write(const void* buffer, std::size_t count) override {
    return to_.Write(buffer, count);
  }
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override {
    return to_.Seek(offset, origin);
  }
  std::int64_t Size() override { return to_.Size(); }

 private:
  TMemoryStream& to_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool deflate64 = (mode & 1) != 0;
  const bool testOnly = (mode & 2) != 0;

  TMemoryStream source(stream);
  TMemoryStream dest;
  if (mode & 8) ReserveInflateOutput(dest, 3000);
  TForwardingStream forwarding(dest);
  TStream& target = (mode & 4) ? static_cast<TStream&>(forwarding) : dest;
  TPlDeflateHelper helper;
  helper.SetOptions(15 | (deflate64 ? deflate_options::kDeflate64 : 0) |
                    (testOnly ? deflate_options::kTestOnly : 0));
  helper.OutputLimit = kOutputLimit;
  bool ok = false;
  std::uint32_t crc = 0;
  try {
    crc = Inflate(source, target, &helper);
    ok = helper.OutputSize < kOutputLimit;
  } catch (const EPlInflateError&) {
  }
  if (helper.OutputSize > kOutputLimit || dest.Size() > kOutputLimit) std::abort();
  if (testOnly && dest.Size() != 0) std::abort();
  if (ok && !testOnly && crc != Crc32(dest.Bytes().data(), dest.Bytes().size())) std::abort();
  if (ok && source.Position() > static_cast<std::int64_t>(stream.size())) std::abort();

  std::string expected;
  if (!deflate64 && ZlibInflate(stream, expected)) {
    if (!ok) std::abort();  // zlib decodes what we rejected
    if (!testOnly && dest.Bytes() != expected) std::abort();
    if (testOnly && helper.OutputSize != static_cast<std::int32_t>(expected.size())) std::abort();
  }
  return 0;
}
