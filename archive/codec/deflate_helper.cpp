// Settings record: the setting rule for the search parameters and the table
// of level letters.
#include "archive/codec/deflate_helper.h"

#include <cctype>

namespace {

// A value below 4 becomes 4, except -1 which means "unlimited".
std::int32_t Clamped(std::int32_t value) { return (value != -1 && value < 4) ? 4 : value; }

struct LevelRow {
  char letter;
  bool storedOnly;
  std::uint32_t lowBits;
  std::int32_t sufficient, chain, lazy;
};

constexpr LevelRow kLevels[] = {
    {'0', true, 0x1, 8, 32, 16},   {'2', false, 0xF, 8, 32, 16}, {'f', false, 0x7, 4, 32, 6},
    {'n', false, 0xF, 16, 32, 24}, {'s', false, 0x7, 4, 4, 4},   {'x', false, 0xF, 64, 4096, 258},
};

}  // namespace

TPlDeflateHelper::TPlDeflateHelper() = default;

void TPlDeflateHelper::SetSufficientLength(std::int32_t value) {
  if (value == sufficientLength_) return;
  sufficientLength_ = Clamped(value);
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetChainLimit(std::int32_t value) {
  if (value == chainLimit_) return;
  chainLimit_ = Clamped(value);
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetLazyLimit(std::int32_t value) {
  if (value == lazyLimit_) return;
  lazyLimit_ = Clamped(value);
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetOptions(std::uint32_t value) {
  if (value == options_) return;
  options_ = value;
  levelLetter_ = '?';
}

void TPlDeflateHelper::SetLevelLetter(char letter) {
  char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  if (lower == levelLetter_) return;
  for (const LevelRow& row : kLevels) {
    if (row.letter != lower) continue;
    // "0" clears the low four bits before setting "stored"; the others only set.
    options_ = row.storedOnly ? ((options_ & ~0xFu) | row.lowBits) : (options_ | row.lowBits);
    sufficientLength_ = row.sufficient;
    chainLimit_ = row.chain;
    lazyLimit_ = row.lazy;
    levelLetter_ = lower;
    return;
  }
}
