// Symbol decoding, the decoder's hot loop.
//
// Fast path: entered while at least 16 bytes are buffered, so the one refill
// per symbol (two for Deflate64's 16 extra length bits) loads eight bytes
// without a bounds check, and while the window's end is below its stop point,
// so a literal or a match of up to 258 bytes (plus the word copy's overrun)
// fits. The refill leaves 56 to 63 valid bits, enough for the longest Deflate
// symbol (15 + 5 length bits, 15 + 13 distance bits). One lookup
// (inflate_table.h) yields a literal, or a length or distance with its base
// value and extra-bit count; the decoder shifts the bit buffer by the entry
// and subtracts the entry from the bit count, whose low 6 bits alone are kept
// meaningful, so taking a symbol's bits costs two instructions. Literals are
// tested first, then the rare kinds (link, end, bad) with one test, so a
// length pays one test more than a literal. The next lookup is issued as soon
// as its bits are known, before the store or copy of the current symbol, so
// the table's latency overlaps the copy. State lives in locals so that byte
// stores into the window cannot force it back to memory. Matches are copied by
// 16- or 8-byte words (a period below 8 is widened to a multiple of itself of
// at least 8). Everything else (the last bytes of the input, padding past its
// end, Deflate64 copies longer than 258) takes the checked slow path one
// symbol at a time. The output run (inflate_window.h) may move at each stop
// point, so the loop reloads all its output pointers after one.
#include <array>
#include <bit>
#include <cstring>

#include "archive/codec/codec_errors.h"
#include "archive/codec/deflate_tables.h"
#include "archive/codec/inflate_decoder.h"

namespace dt = deflate_tables;
using Table = TInflateTable;

namespace {

constexpr const char* kBadLength =
    "decoded an invalid length symbol: greater than 285 [DecodeData]";
constexpr const char* kBadDistance =
    "decoded an invalid distance symbol: greater than 29 [DecodeData]";
constexpr const char* kBadDistance64 =
    "decoded an invalid distance symbol: greater than 31 [DecodeData]";
constexpr const char* kTooFar = "distance reaches before the start of the output [DecodeData]";
constexpr const char* kDiscard = "no more compressed data in stream [TPlDfInBitStream.DiscardBits]";
constexpr std::size_t kFastInput = 16;
// Bits a refill guarantees; the fast path relies on them covering a length
// and a distance code with their extra bits (Deflate) or one of them (Deflate64).
constexpr unsigned kRefilledBits = 56;
// A Deflate length and distance, and the bits of the lookup made after them,
// fit in the 64 bits a refill loads.
static_assert(2 * dt::kMaxCodeLength + 5 + 13 <= kRefilledBits);
static_assert(3 * dt::kMaxCodeLength + 5 + 13 <= 64);
// Deflate64: a distance code with its extra bits.
constexpr unsigned kDist64Bits = dt::kMaxCodeLength + 14;
static_assert(dt::kMaxCodeLength + 16 + kDist64Bits + dt::kMaxCodeLength > 64,
              "Deflate64 needs the second refill");

std::uint64_t LoadLe64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

std::uint32_t LowBits(std::uint64_t bits, unsigned count) {
  return static_cast<std::uint32_t>(bits & ((std::uint64_t{1} << count) - 1));
}

// The smallest multiple of a distance below 8 that is at least 8.
constexpr std::array<std::uint8_t, 8> kWordPeriod = [] {
  std::array<std::uint8_t, 8> period{};
  for (unsigned d = 1; d < 8; ++d) period[d] = static_cast<std::uint8_t>(d * ((8 + d - 1) / d));
  return period;
}();

// Copies a back-reference of at most 258 bytes; may write up to 31 bytes past
// the end (the window's slack).
[[gnu::always_inline]] inline std::uint8_t* CopyShort(std::uint8_t* out, const std::uint8_t* src,
                                                      std::uint32_t distance,
                                                      std::uint32_t length) {
  std::uint8_t* const end = out + length;
  if (distance >= 16) {
    // Most matches are short: two words unconditionally, a loop only beyond.
    std::memcpy(out, src, 16);
    std::memcpy(out + 16, src + 16, 16);
    for (out += 32, src += 32; out < end; out += 16, src += 16) std::memcpy(out, src, 16);
  } else if (distance >= 8) {
    std::memcpy(out, src, 8);
    std::memcpy(out + 8, src + 8, 8);
    for (out += 16, src += 16; out < end; out += 8, src += 8) std::memcpy(out, src, 8);
  } else if (distance == 1) {
    // A run of one byte, by words: a call to memset would cost the loop's
    // registers.
    const std::uint64_t run = *src * std::uint64_t{0x0101010101010101};
    for (; out < end; out += 8) std::memcpy(out, &run, 8);
  } else {
    // The first eight bytes one by one (each may repeat one just written);
    // from there the output repeats with a period of a multiple of the
    // distance that is at least 8, so whole words can be copied.
    for (int i = 0; i < 8; ++i) out[i] = src[i];
    const std::uint32_t period = kWordPeriod[distance];
    for (std::uint8_t* at = out + 8; at < end; at += 8) std::memcpy(at, at - period, 8);
  }
  return end;
}

}  // namespace

void TPlDfInflater::DecodeData(const TInflateTable& litLen, const TInflateTable& dist) {
  for (;;) {
    if (deflate64_ ? DecodeFast<true>(litLen, dist) : DecodeFast<false>(litLen, dist)) return;
    if (DecodeOneSlow(litLen, dist)) return;
  }
}

template <bool kDeflate64>
bool TPlDfInflater::DecodeFast(const TInflateTable& litLen, const TInflateTable& dist) {
  TPlDfInBitStream::State s = bits_.Save();
  if (s.end - s.next < static_cast<std::ptrdiff_t>(kFastInput)) return false;
  if (window_.End() >= window_.StopPoint()) window_.Overflow();
  std::uint64_t bb = s.bits;
  // Only the low 6 bits count: the loop subtracts whole entries, whose low
  // 6 bits are the bits a symbol takes, and the bits above may hold anything.
  unsigned bc = static_cast<unsigned>(s.count);
  const std::uint8_t* in = s.next;
  const std::uint8_t* const inEnd = s.end;
  const std::uint8_t* const inLimit = inEnd - kFastInput;
  std::uint8_t* out = window_.End();
  std::uint8_t* stop = window_.StopPoint();
  std::uint8_t* base = window_.Begin();
  const std::uint32_t* const lt = litLen.Entries();
  const std::uint32_t* const dtab = dist.Entries();
  // Constants, so that they take no registers in the loop.
  constexpr unsigned lroot = Table::RootBitsOf(Table::Kind::LitLen);
  constexpr unsigned droot = Table::RootBitsOf(Table::Kind::Dist);
  constexpr std::uint64_t lmask = (1u << lroot) - 1;
  constexpr std::uint64_t dmask = (1u << droot) - 1;
  constexpr std::uint32_t kLitLenRare = Table::kLink | Table::kEnd | Table::kBad;
  constexpr std::uint32_t kDistRare = Table::kLink | Table::kBad;

  // Takes the state as arguments: a closure holding the locals' addresses
  // would keep them in memory rather than in registers.
  auto store = [this, inEnd](std::uint64_t bits, unsigned count, const std::uint8_t* next,
                             std::uint8_t* end) {
    bits_.Restore({bits, static_cast<int>(count & 63), next, inEnd});
    window_.SetEnd(end);
  };
  // Branch-free refill to 56..63 valid bits; needs 8 readable bytes. All 64
  // bits of bb then hold input, so a lookup made before a refill stays valid.
  auto refill = [&] {
    bb |= LoadLe64(in) << (bc & 63);
    in += 7 - ((bc >> 3) & 7);
    bc |= kRefilledBits;
  };
  // Takes the entry's code and extra bits (the shift masks its count).
  auto consume = [&](std::uint32_t entry) {
    bb >>= entry & 63;
    bc -= entry;
  };
  // The entry's base value plus its extra bits, from the bits it was looked
  // up in.
  auto valueOf = [](std::uint32_t entry, std::uint64_t from) {
    return Table::Value(entry) +
           static_cast<std::uint32_t>((from & ~(~std::uint64_t{0} << (entry & 63))) >>
                                      ((entry >> 8) & 63));
  };

  refill();
  std::uint32_t e = lt[bb & lmask];
  for (;;) {
    if (e & Table::kLiteral) {
      consume(e);
      *out++ = static_cast<std::uint8_t>(Table::Value(e));
      // A second literal fits in the bits left and in the window's slack.
      e = lt[bb & lmask];
      if (e & Table::kLiteral) {
        consume(e);
        *out++ = static_cast<std::uint8_t>(Table::Value(e));
        e = lt[bb & lmask];
      }
    } else if (!(e & kLitLenRare)) [[likely]] {
      std::uint64_t from = bb;
      consume(e);
      const std::uint32_t length = valueOf(e, from);
      // Deflate64's 16 extra length bits can leave too few for the distance
      // and the next lookup.
      if (kDeflate64 && (bc & 63) < kDist64Bits + dt::kMaxCodeLength) refill();
      std::uint32_t de = dtab[bb & dmask];
      if (de & kDistRare) [[unlikely]] {
        if (de & Table::kLink) de = dtab[Table::LinkTarget(de, bb >> droot)];
        if (de & Table::kBad) {
          store(bb, bc, in, out);
          FailInflate(kDeflate64 ? kBadDistance64 : kBadDistance);
        }
      }
      from = bb;
      consume(de);
      const std::uint32_t distance = valueOf(de, from);
      e = lt[bb & lmask];
      // As addresses, so that the copy's source is computed once.
      const std::uintptr_t src = reinterpret_cast<std::uintptr_t>(out) - distance;
      if (src < reinterpret_cast<std::uintptr_t>(base)) [[unlikely]] {
        store(bb, bc, in, out);
        FailInflate(kTooFar);
      }
      if (kDeflate64 && length > dt::kMaxMatch) {
        store(bb, bc, in, out);
        window_.CopyLong(distance, length);
        out = window_.End();
        stop = window_.StopPoint();
        base = window_.Begin();
      } else {
        out = CopyShort(out, reinterpret_cast<const std::uint8_t*>(src), distance, length);
      }
    } else if (e & Table::kLink) {
      // Resolved before anything is taken, so the bits are still there.
      e = lt[Table::LinkTarget(e, bb >> lroot)];
      continue;
    } else {
      if (e & Table::kBad) {
        store(bb, bc, in, out);
        FailInflate(kBadLength);
      }
      consume(e);
      store(bb, bc, in, out);
      return true;
    }
    if (out >= stop) [[unlikely]] {
      store(bb, bc, in, out);
      window_.Overflow();
      out = window_.End();
      stop = window_.StopPoint();
      base = window_.Begin();
    }
    if (in >= inLimit) break;
    refill();
  }
  store(bb, bc, in, out);
  return false;
}

bool TPlDfInflater::DecodeOneSlow(const TInflateTable& litLen, const TInflateTable& dist) {
  std::uint64_t peek = bits_.PeekBits(dt::kMaxCodeLength + (deflate64_ ? 16 : 5));
  const std::uint32_t e = litLen.Lookup(peek);
  const unsigned n = Table::CodeLength(e);
  if (e & Table::kLiteral) {
    bits_.DiscardBits(static_cast<int>(n), kDiscard);
    *window_.End() = static_cast<std::uint8_t>(Table::Value(e));
    window_.SetEnd(window_.End() + 1);
    if (window_.End() >= window_.StopPoint()) window_.Overflow();
    return false;
  }
  if (e & Table::kBad) FailInflate(kBadLength);
  if (e & Table::kEnd) {
    bits_.DiscardBits(static_cast<int>(n), kDiscard);
    return true;
  }
  const unsigned extra = Table::ExtraBits(e);
  const std::uint32_t length = Table::Value(e) + LowBits(peek >> n, extra);
  bits_.DiscardBits(static_cast<int>(n + extra), kDiscard);

  peek = bits_.PeekBits(dt::kMaxCodeLength + 14);
  const std::uint32_t de = dist.Lookup(peek);
  if (de & Table::kBad) FailInflate(deflate64_ ? kBadDistance64 : kBadDistance);
  const unsigned dn = Table::CodeLength(de);
  const unsigned dextra = Table::ExtraBits(de);
  const std::uint32_t distance = Table::Value(de) + LowBits(peek >> dn, dextra);
  bits_.DiscardBits(static_cast<int>(dn + dextra), kDiscard);
  CopyMatch(length, distance);
  return false;
}

void TPlDfInflater::CopyMatch(std::uint32_t length, std::uint32_t distance) {
  if (distance > static_cast<std::size_t>(window_.End() - window_.Begin())) FailInflate(kTooFar);
  if (length > dt::kMaxMatch) {
    window_.CopyLong(distance, length);
    return;
  }
  window_.SetEnd(
      CopyShort(window_.End(), window_.End() - distance, distance, length));
  if (window_.End() >= window_.StopPoint()) window_.Overflow();
}
