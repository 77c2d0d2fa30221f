#pragma once
// The collation order of many texts at once (CollateCompare's order), for
// loading and sorting whole site lists. Each text's collation key is made
// once; most comparisons are then two integer comparisons.

#include <cstdint>
#include <string_view>
#include <vector>

// What orders texts that collate equal.
enum class TCollationTies {
  Bytes,  // byte order, so only identical texts stay tied (they keep their places)
  Place,  // their places in the input: a stable sort
};

// The places of the texts, sorted. Texts already in order (as saved lists
// are) are recognised by one comparison of each neighbouring pair, without
// making any key.
std::vector<std::uint32_t> CollationOrder(const std::vector<std::string_view>& texts,
                                          TCollationTies ties);
