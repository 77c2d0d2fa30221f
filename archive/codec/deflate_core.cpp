// The encoder's setup for one call: stored mode or the matcher, the output
// bit stream, and internal failures turned into the error the caller sees.
#include "archive/codec/deflate_core.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "archive/codec/adler32.h"
#include "archive/codec/codec_errors.h"
#include "archive/codec/crc32.h"
#include "archive/codec/deflate_bit_writer.h"
#include "archive/codec/deflate_block_writer.h"
#include "archive/codec/deflate_helper.h"
#include "archive/codec/deflate_matcher.h"
#include "archive/codec/deflate_tables.h"

namespace {

BlockKinds KindsOf(std::uint32_t options) {
  switch (options & 7) {
    case deflate_options::kStored:
      return BlockKinds::StoredOnly;
    case deflate_options::kFixed:
      return BlockKinds::FixedOnly;
    case deflate_options::kDynamic:
      return BlockKinds::DynamicOnly;
    default:
      return BlockKinds::Smallest;
  }
}

// Reads up to count bytes, stopping only at the end of the source.
std::size_t ReadFull(TStream& source, std::uint8_t* dest, std::size_t count) {
  std::size_t total = 0;
  while (total < count) {
    std::size_t got = source.Read(dest + total, count - total);
    if (got == 0) break;
    total += got;
  }
  return total;
}

// Stored mode: pieces of at most 65,535 bytes straight from the source.
std::uint32_t DeflateStored(TStream& source, TPlDfOutBitStream& out, const TCodecCall& call) {
  const bool adler = (call.options & deflate_options::kAdler32) != 0;
  std::uint32_t sum = adler ? 1u : 0xFFFFFFFFu;
  std::int64_t size = call.inputSize > 0 ? call.inputSize : source.Size() - source.Position();
  std::vector<std::uint8_t> piece(deflate_tables::kMaxStoredBlock);
  std::int64_t done = 0;
  while (done < size) {
    auto want = static_cast<std::size_t>(
        std::min<std::int64_t>(size - done, deflate_tables::kMaxStoredBlock));
    std::size_t got = ReadFull(source, piece.data(), want);
    if (got == 0) break;
    done += static_cast<std::int64_t>(got);
    bool final = done >= size || got < want;
    WriteStored(out, piece.data(), got, final);
    sum = adler ? Adler32Update(sum, piece.data(), got) : Crc32Update(sum, piece.data(), got);
    if (call.progress && call.inputSize > 0)
      call.progress(static_cast<int>(std::lround(done * 100.0 / call.inputSize)));
    if (final) break;
  }
  out.Flush();
  return adler ? sum : ~sum;
}

}  // namespace

std::uint32_t DeflateCore(TStream& source, TStream& dest, const TCodecCall& call) {
  TPlDfOutBitStream out(dest);
  try {
    const BlockKinds kinds = KindsOf(call.options);
    if (kinds == BlockKinds::StoredOnly) return DeflateStored(source, out, call);
    const std::uint32_t checksum = DeflateStaticDynamic(source, out, call, kinds);
    out.Flush();
    return checksum;
  } catch (const EPlInternalDeflateError& e) {
    throw EPlDeflateError(std::string("Pellam deflate error. (Internal cause: ") + e.what() + ")");
  }
}
