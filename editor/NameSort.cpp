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

/// Moves the entries into the order of the sorted keys.
void Permute(NameList& names, const std::vector<SortKey>& keys) {
  NameList sorted;
  sorted.reserve(names.size());
  for (const SortKey& key : keys) sorted.push_back(std::move(names[key.index]));
  names = std::move(sorted);
}

}  // namespace

void SortNames(NameList& names, SortOrder order) {
  // Sorting small keys and moving each entry once is much cheaper than swapping whole entries.
  std::vector<SortKey> keys;
  keys.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string_view name = names[i].originalName;
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
