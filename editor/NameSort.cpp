#include "editor/NameSort.h"

#include <algorithm>

#include "editor/NameSplit.h"
#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

struct SortKey {
  std::u16string_view name;
  std::u16string_view extension;
  std::size_t index;
};

template <typename Compare>
bool Less(const SortKey& a, const SortKey& b, bool byExtension, Compare compare) {
  if (byExtension) {
    const int byExt = compare(a.extension, b.extension);
    if (byExt != 0) return byExt < 0;
  }
  return compare(a.name, b.name) < 0;
}

/// Moves the names into the order of the sorted keys.
void Permute(std::vector<std::u16string>& names, const std::vector<SortKey>& keys) {
  std::vector<std::u16string> sorted;
  sorted.reserve(names.size());
  for (const SortKey& key : keys) sorted.push_back(std::move(names[key.index]));
  names = std::move(sorted);
}

}  // namespace

void SortNames(std::vector<std::u16string>& names, SortOrder order) {
  // The extension of each name is found once, not at every comparison.
  std::vector<SortKey> keys;
  keys.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string_view name = names[i];
    keys.push_back({name, ExtensionOf(name), i});
  }
  if (order.caseSensitive) {
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
      return Less(a, b, order.byExtension, CompareOrdinal);
    });
  } else {
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
      return Less(a, b, order.byExtension, CompareFolded);
    });
  }
  Permute(names, keys);
}

}  // namespace nomvarix
