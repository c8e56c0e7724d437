#include "archive/ArDfPkMg.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace {

// An item of one round's list: a leaf (a symbol) or a package of two adjacent items of
// the previous round's list, starting at Child.
struct TPkItem {
  uint64_t Weight;
  int32_t Symbol;  // -1 for a package
  int32_t Child;
};

}  // namespace

void PackageMergeLengths(std::span<const uint32_t> frequencies, int maxBits, std::span<uint8_t> lengths) {
  assert(lengths.size() == frequencies.size());
  std::fill(lengths.begin(), lengths.end(), 0);
  std::vector<TPkItem> leaves;
  for (size_t i = 0; i < frequencies.size(); ++i)
    if (frequencies[i] != 0) leaves.push_back({frequencies[i], static_cast<int32_t>(i), -1});
  if (leaves.size() <= 1) {
    lengths[leaves.empty() ? 0 : static_cast<size_t>(leaves[0].Symbol)] = 1;
    return;
  }
  std::stable_sort(leaves.begin(), leaves.end(),
                   [](const TPkItem& a, const TPkItem& b) { return a.Weight < b.Weight; });
  assert(leaves.size() <= (size_t{1} << maxBits));

  // Round r's list merges the leaves with the packages of round r − 1's list; a package
  // goes before a leaf only when strictly lighter.
  std::vector<std::vector<TPkItem>> rounds{leaves};
  for (int r = 1; r < maxBits; ++r) {
    const std::vector<TPkItem>& previous = rounds.back();
    std::vector<TPkItem> merged;
    merged.reserve(leaves.size() + previous.size() / 2);
    size_t leaf = 0, pair = 0;
    while (leaf < leaves.size() || pair + 1 < previous.size()) {
      bool takePackage =
          pair + 1 < previous.size() &&
          (leaf == leaves.size() || previous[pair].Weight + previous[pair + 1].Weight < leaves[leaf].Weight);
      if (takePackage) {
        merged.push_back({previous[pair].Weight + previous[pair + 1].Weight, -1, static_cast<int32_t>(pair)});
        pair += 2;
      } else {
        merged.push_back(leaves[leaf++]);
      }
    }
    rounds.push_back(std::move(merged));
  }

  // Each of the first 2 × (leaves − 1) items of the last list adds one bit to every leaf
  // it holds; the counts are handed down round by round instead of walking packages.
  std::vector<uint32_t> uses(rounds.back().size(), 0);
  std::fill(uses.begin(), uses.begin() + static_cast<std::ptrdiff_t>(2 * (leaves.size() - 1)), 1);
  for (size_t r = rounds.size(); r-- > 0;) {
    std::vector<uint32_t> below(r > 0 ? rounds[r - 1].size() : 0, 0);
    for (size_t i = 0; i < rounds[r].size(); ++i) {
      if (uses[i] == 0) continue;
      const TPkItem& item = rounds[r][i];
      if (item.Symbol >= 0) {
        lengths[static_cast<size_t>(item.Symbol)] =
            static_cast<uint8_t>(lengths[static_cast<size_t>(item.Symbol)] + uses[i]);
      } else {
        below[static_cast<size_t>(item.Child)] += uses[i];
        below[static_cast<size_t>(item.Child) + 1] += uses[i];
      }
    }
    uses = std::move(below);
  }
}
