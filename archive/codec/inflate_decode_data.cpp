// Symbol decoding, the decoder's hot loop.
//
// Fast path: entered while at least 16 bytes are buffered, so each of the at
// most two refills per symbol loads eight bytes without a bounds check, and
// while the window's end is below its stop point, so a literal or a match of
// up to 258 bytes (plus an 8-byte overrun of the word copy) fits. One table
// lookup yields a literal, or a length symbol whose extra bits are taken from
// the same bit buffer; the state lives in locals so that byte stores into the
// window cannot force it back to memory. Everything else (the last bytes of
// the input, padding past its end, Deflate64 copies longer than 258) takes
// the checked slow path one symbol at a time.
#include <bit>
#include <cstring>

#include "archive/codec/codec_errors.h"
#include "archive/codec/deflate_tables.h"
#include "archive/codec/inflate_decoder.h"

namespace dt = deflate_tables;
using Tree = TPlDfDecodeHuffmanTree;

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

std::uint64_t LoadLe64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

std::uint32_t LowBits(std::uint64_t bits, unsigned count) {
  return static_cast<std::uint32_t>(bits & ((std::uint64_t{1} << count) - 1));
}

// Copies a back-reference of at most 258 bytes; may write up to 15 bytes past
// the end when the distance allows 16- or 8-byte copies (the window's slack).
std::uint8_t* CopyShort(std::uint8_t* out, std::uint32_t distance, std::uint32_t length) {
  const std::uint8_t* src = out - distance;
  std::uint8_t* end = out + length;
  if (distance >= 16) {
    do {
      std::memcpy(out, src, 16);
      out += 16;
      src += 16;
    } while (out < end);
  } else if (distance >= 8) {
    do {
      std::memcpy(out, src, 8);
      out += 8;
      src += 8;
    } while (out < end);
  } else if (distance == 1) {
    std::memset(out, *src, length);
  } else {
    while (out < end) *out++ = *src++;  // overlapping: repeats the bytes just written
  }
  return end;
}

}  // namespace

void TPlDfInflater::DecodeData(const TPlDfDecodeHuffmanTree& litLen,
                               const TPlDfDecodeHuffmanTree& dist) {
  for (;;) {
    if (DecodeFast(litLen, dist)) return;
    if (DecodeOneSlow(litLen, dist)) return;
  }
}

bool TPlDfInflater::DecodeFast(const TPlDfDecodeHuffmanTree& litLen,
                               const TPlDfDecodeHuffmanTree& dist) {
  TPlDfInBitStream::State s = bits_.Save();
  std::uint64_t bb = s.bits;
  unsigned bc = static_cast<unsigned>(s.count);
  const std::uint8_t* in = s.next;
  const std::uint8_t* const inEnd = s.end;
  std::uint8_t* out = window_.End();
  std::uint8_t* stop = window_.StopPoint();
  std::uint8_t* const base = window_.Begin();
  const std::uint32_t* const lt = litLen.Table();
  const std::uint32_t lmask = litLen.Mask();
  const unsigned lroot = static_cast<unsigned>(litLen.RootBits());
  const std::uint32_t* const dtab = dist.Table();
  const std::uint32_t dmask = dist.Mask();
  const unsigned droot = static_cast<unsigned>(dist.RootBits());
  const unsigned maxDist = static_cast<unsigned>(maxDistSymbol_);
  const std::uint16_t* const lengthBase = lengthBase_;

  auto save = [&] {
    bits_.Restore({bb, static_cast<int>(bc), in, inEnd});
    window_.SetEnd(out);
  };
  // Branch-free refill to 56..63 valid bits; needs 8 readable bytes.
  auto refill = [&] {
    bb |= LoadLe64(in) << bc;
    in += (63 - bc) >> 3;
    bc |= 56;
  };

  while (inEnd - in >= static_cast<std::ptrdiff_t>(kFastInput)) {
    if (out >= stop) {
      save();
      window_.Overflow();
      out = window_.End();
      stop = window_.StopPoint();
    }
    refill();
    std::uint32_t e = lt[bb & lmask];
    if (Tree::IsLink(e)) e = lt[Tree::LinkTarget(e, bb >> lroot)];
    unsigned sym = Tree::EntrySymbol(e);
    unsigned n = Tree::EntryLength(e);
    if (sym < 256) {
      bb >>= n;
      bc -= n;
      *out++ = static_cast<std::uint8_t>(sym);
      // A second literal fits in the bits left (at least 41) and in the
      // window's slack; links and invalid entries are never below 256.
      e = lt[bb & lmask];
      if (Tree::EntrySymbol(e) < 256) {
        n = Tree::EntryLength(e);
        bb >>= n;
        bc -= n;
        *out++ = static_cast<std::uint8_t>(e);
      }
      continue;
    }
    if (sym == dt::kEndOfBlock) {
      bb >>= n;
      bc -= n;
      save();
      return true;
    }
    if (sym > dt::kLastLengthSymbol) {
      save();
      FailInflate(kBadLength);
    }
    unsigned extra = Tree::EntryExtra(e);
    std::uint32_t length = lengthBase[sym - dt::kFirstLengthSymbol] + LowBits(bb >> n, extra);
    n += extra;
    bb >>= n;
    bc -= n;
    if (bc < 32) refill();
    std::uint32_t de = dtab[bb & dmask];
    if (Tree::IsLink(de)) de = dtab[Tree::LinkTarget(de, bb >> droot)];
    unsigned ds = Tree::EntrySymbol(de);
    if (ds > maxDist) {
      save();
      FailInflate(deflate64_ ? kBadDistance64 : kBadDistance);
    }
    unsigned dn = Tree::EntryLength(de);
    const unsigned dextra = Tree::EntryExtra(de);
    std::uint32_t distance = dt::kDistBase[ds] + LowBits(bb >> dn, dextra);
    dn += dextra;
    bb >>= dn;
    bc -= dn;
    if (distance > static_cast<std::size_t>(out - base)) {
      save();
      FailInflate(kTooFar);
    }
    if (length > dt::kMaxMatch) {
      save();
      window_.CopyLong(distance, length);
      out = window_.End();
      stop = window_.StopPoint();
      continue;
    }
    out = CopyShort(out, distance, length);
  }
  save();
  if (out >= stop) window_.Overflow();
  return false;
}

bool TPlDfInflater::DecodeOneSlow(const TPlDfDecodeHuffmanTree& litLen,
                                  const TPlDfDecodeHuffmanTree& dist) {
  std::uint64_t peek = bits_.PeekBits(litLen.MaxCodeLength() + (deflate64_ ? 16 : 5));
  std::uint32_t e = litLen.Decode(peek);
  const unsigned sym = Tree::EntrySymbol(e);
  const unsigned n = Tree::EntryLength(e);
  if (sym < 256) {
    bits_.DiscardBits(n, kDiscard);
    *window_.End() = static_cast<std::uint8_t>(sym);
    window_.SetEnd(window_.End() + 1);
    if (window_.End() >= window_.StopPoint()) window_.Overflow();
    return false;
  }
  if (sym == dt::kEndOfBlock) {
    bits_.DiscardBits(n, kDiscard);
    return true;
  }
  if (sym > dt::kLastLengthSymbol) FailInflate(kBadLength);
  const unsigned extra = Tree::EntryExtra(e);
  std::uint32_t length = lengthBase_[sym - dt::kFirstLengthSymbol] + LowBits(peek >> n, extra);
  bits_.DiscardBits(static_cast<int>(n + extra), kDiscard);

  peek = bits_.PeekBits(dist.MaxCodeLength() + 14);
  std::uint32_t de = dist.Decode(peek);
  const unsigned ds = Tree::EntrySymbol(de);
  if (ds > static_cast<unsigned>(maxDistSymbol_))
    FailInflate(deflate64_ ? kBadDistance64 : kBadDistance);
  const unsigned dn = Tree::EntryLength(de);
  const unsigned dextra = Tree::EntryExtra(de);
  std::uint32_t distance = dt::kDistBase[ds] + LowBits(peek >> dn, dextra);
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
  window_.SetEnd(CopyShort(window_.End(), distance, length));
  if (window_.End() >= window_.StopPoint()) window_.Overflow();
}
