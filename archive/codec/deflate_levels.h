#pragma once
// The level table: what setting a level letter does to the settings record.

#include <array>
#include <cstdint>

#include "archive/codec/deflate_tables.h"
#include "archive/codec/deflate_tuning.h"

struct TDeflateLevel {
  char letter;
  // The low four option bits (block kinds and lazy matching) the letter sets.
  std::uint32_t lowBits;
  // Whether the other low four bits are cleared first (stored only).
  bool clearsLowBits;
  TDeflateTuning tuning;
};

namespace deflate_levels {

// The parameters of a new settings record, which holds the letter n all the
// same (a record set to n through another letter gets the n row instead).
constexpr TDeflateTuning kNewRecord = {8, 32, 16};

// letter | low option bits set | clears the others first |
// sufficient length, chain limit, lazy limit
constexpr std::array<TDeflateLevel, 6> kTable = {{
    {'0', 0x1, true, {8, 32, 16}},       // stored
    {'2', 0xF, false, {8, 32, 16}},      //
    {'f', 0x7, false, {4, 32, 6}},       // fast
    {'n', 0xF, false, {16, 32, 24}},     // normal
    {'s', 0x7, false, {4, 4, 4}},        // super fast
    {'x', 0xF, false, {64, 4096, 258}},  // maximum
}};

constexpr bool RowsValid() {
  for (const TDeflateLevel& row : kTable) {
    const TDeflateTuning& t = row.tuning;
    if (row.lowBits > 0xF || (row.lowBits & 0x7) == 0) return false;  // some block kind
    if (t.sufficientLength < deflate_tuning::kSmallest || t.chainLimit < deflate_tuning::kSmallest ||
        t.lazyLimit < deflate_tuning::kSmallest)
      return false;  // rows obey the setting rule
    if (t.sufficientLength > deflate_tables::kMaxMatch || t.lazyLimit > deflate_tables::kMaxMatch)
      return false;  // no longer than a Deflate match
  }
  return true;
}
static_assert(RowsValid(), "every row allows a block kind and obeys the setting rule");
static_assert(kTable[0].letter == '0' && kTable[0].clearsLowBits && kTable[0].lowBits == 0x1,
              "letter 0 is stored only");
static_assert(kTable[0].tuning == kNewRecord && kTable[1].tuning == kNewRecord,
              "letters 0 and 2 restore a new record's parameters");
static_assert(kTable[3].letter == 'n' && !(kTable[3].tuning == kNewRecord),
              "a new record's letter n does not hold the n row's parameters");

// The row of a lower-case letter, or nullptr.
constexpr const TDeflateLevel* Find(char letter) {
  for (const TDeflateLevel& row : kTable)
    if (row.letter == letter) return &row;
  return nullptr;
}

}  // namespace deflate_levels
