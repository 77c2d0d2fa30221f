#include "core/collation_order.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "core/collation.h"
#include "core/text_codec.h"

namespace {

constexpr std::size_t kHeadSize = std::tuple_size_v<decltype(TCollationKey::head)>;

// Sixteen bytes of a text's key head, from the first byte in which the keys
// of the texts differ, as two big-endian numbers, beside the text's place.
struct TSortItem {
  std::uint64_t first = 0;
  std::uint64_t second = 0;
  std::uint32_t index = 0;
};

// Eight head bytes from offset, zero past the head's end (key bytes are
// never zero, so this is how a shorter key sorts).
std::uint64_t HeadWord(const TCollationKey& key, std::size_t offset) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t at = offset + i;
    word = (word << 8) | (at < kHeadSize ? key.head[at] : 0u);
  }
  return word;
}

// The length of the head prefix that every key shares: site lists often
// start every name alike ("Site ...", "www."), and the bytes after it are
// the ones that sort.
std::size_t SharedHeadLength(const std::vector<TCollationKey>& keys) {
  std::size_t shared = kHeadSize;
  for (const TCollationKey& key : keys) {
    const auto differ = std::mismatch(keys.front().head.begin(),
                                      keys.front().head.begin() + static_cast<long>(shared),
                                      key.head.begin());
    shared = static_cast<std::size_t>(differ.first - keys.front().head.begin());
    if (shared == 0) break;
  }
  return shared;
}

class TTextOrder {
 public:
  TTextOrder(const std::vector<std::string_view>& texts, TCollationTies ties)
      : texts_(texts), ties_(ties) {}

  // <0, 0, >0 for the texts at places a and b, by their keys.
  int CompareKeyed(const std::vector<TCollationKey>& keys, std::uint32_t a, std::uint32_t b) const {
    const int collated = CompareCollated(keys[a], texts_[a], keys[b], texts_[b]);
    return collated != 0 ? collated : Tie(a, b);
  }

  bool InOrder() const {
    bool previousIsUtf8 = !texts_.empty() && IsValidUtf8(texts_.front());
    for (std::size_t i = 1; i < texts_.size(); ++i) {
      const bool isUtf8 = IsValidUtf8(texts_[i]);
      const int collated = CollateCompareChecked(texts_[i - 1], previousIsUtf8, texts_[i], isUtf8);
      const auto a = static_cast<std::uint32_t>(i - 1);
      const auto b = static_cast<std::uint32_t>(i);
      if ((collated != 0 ? collated : Tie(a, b)) > 0) return false;
      previousIsUtf8 = isUtf8;
    }
    return true;
  }

 private:
  int Tie(std::uint32_t a, std::uint32_t b) const {
    if (ties_ == TCollationTies::Bytes) {
      const int bytes = texts_[a].compare(texts_[b]);
      if (bytes != 0) return bytes;
    }
    return (a > b) - (a < b);
  }

  const std::vector<std::string_view>& texts_;
  TCollationTies ties_;
};

std::vector<std::uint32_t> KeyedOrder(const std::vector<std::string_view>& texts,
                                      const TTextOrder& order) {
  std::vector<TCollationKey> keys(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) keys[i] = CollationKeyOf(texts[i]);
  const std::size_t from = SharedHeadLength(keys);
  std::vector<TSortItem> items(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    items[i] = {HeadWord(keys[i], from), HeadWord(keys[i], from + 8), static_cast<std::uint32_t>(i)};
  }
  std::sort(items.begin(), items.end(), [&](const TSortItem& a, const TSortItem& b) {
    if (a.first != b.first) return a.first < b.first;
    if (a.second != b.second) return a.second < b.second;
    return order.CompareKeyed(keys, a.index, b.index) < 0;
  });
  std::vector<std::uint32_t> places(items.size());
  std::transform(items.begin(), items.end(), places.begin(),
                 [](const TSortItem& item) { return item.index; });
  return places;
}

}  // namespace

std::vector<std::uint32_t> CollationOrder(const std::vector<std::string_view>& texts,
                                          TCollationTies ties) {
  const TTextOrder order(texts, ties);
  if (order.InOrder()) {
    std::vector<std::uint32_t> places(texts.size());
    std::iota(places.begin(), places.end(), 0u);
    return places;
  }
  return KeyedOrder(texts, order);
}
