// Length-limited Huffman code lengths by package-merge.
//
// Leaves are sorted by weight; L - 1 times the current list is paired into
// packages that are merged back with the leaves (a leaf before a package of
// equal weight). A symbol's code length is the number of times it occurs in
// the first 2n - 2 items of the final list, counting occurrences inside
// (nested) packages. Nodes live in one pool that is freed as a whole.
#include <algorithm>
#include <cassert>
#include <numeric>

#include "archive/codec/deflate.h"

namespace {

struct Node {
  std::uint64_t weight;
  int symbol;  // leaf: the symbol; package: -1
  int left;
  int right;
};

class PackageMerge {
 public:
  PackageMerge(int maxLength, const std::vector<std::uint32_t>& weights)
      : maxLength_(maxLength), weights_(weights) {}

  std::vector<int> Run();

 private:
  void Count(int node, std::vector<int>& lengths) const;

  int maxLength_;
  const std::vector<std::uint32_t>& weights_;
  std::vector<Node> pool_;
};

std::vector<int> PackageMerge::Run() {
  std::vector<int> lengths(weights_.size(), 0);
  std::vector<int> leaves;
  for (std::size_t s = 0; s < weights_.size(); ++s)
    if (weights_[s] > 0) leaves.push_back(static_cast<int>(s));
  if (leaves.size() <= 1) {
    lengths[leaves.empty() ? 0 : leaves[0]] = 1;
    return lengths;
  }
  assert(leaves.size() <= (std::size_t{1} << maxLength_));
  std::stable_sort(leaves.begin(), leaves.end(),
                   [this](int a, int b) { return weights_[a] < weights_[b]; });
  std::vector<int> leafNodes;
  for (int s : leaves) {
    leafNodes.push_back(static_cast<int>(pool_.size()));
    pool_.push_back({weights_[s], s, -1, -1});
  }
  std::vector<int> list = leafNodes;
  std::vector<int> packages, merged;
  for (int round = 1; round < maxLength_; ++round) {
    packages.clear();
    for (std::size_t i = 0; i + 1 < list.size(); i += 2) {
      packages.push_back(static_cast<int>(pool_.size()));
      pool_.push_back(
          {pool_[list[i]].weight + pool_[list[i + 1]].weight, -1, list[i], list[i + 1]});
    }
    merged.clear();
    std::merge(leafNodes.begin(), leafNodes.end(), packages.begin(), packages.end(),
               std::back_inserter(merged), [this](int a, int b) {
                 return pool_[a].weight < pool_[b].weight;  // ties keep the leaf first
               });
    list.swap(merged);
  }
  std::size_t take = 2 * leaves.size() - 2;
  for (std::size_t i = 0; i < take; ++i) Count(list[i], lengths);
  return lengths;
}

void PackageMerge::Count(int node, std::vector<int>& lengths) const {
  // Packages nest at most maxLength deep, so the recursion stays shallow.
  const Node& n = pool_[node];
  if (n.symbol >= 0) {
    ++lengths[n.symbol];
    return;
  }
  Count(n.left, lengths);
  Count(n.right, lengths);
}

}  // namespace

std::vector<int> GenerateCodeLengths(int maxLength, const std::vector<std::uint32_t>& weights) {
  assert(maxLength >= 1 && maxLength <= 15 && !weights.empty());
  return PackageMerge(maxLength, weights).Run();
}
