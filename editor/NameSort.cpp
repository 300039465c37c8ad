#include "editor/NameSort.h"

#include <algorithm>

#include "editor/NameSplit.h"
#include "text/AsciiCase.h"
#include "text/NaturalCompare.h"

namespace nomvarix {
namespace {

struct SortKey {
  std::u16string_view name;
  std::u16string_view extension;
};

template <typename Compare>
bool Less(const SortKey& a, const SortKey& b, bool byExtension, Compare compare) {
  if (byExtension) {
    const int byExt = compare(a.extension, b.extension);
    if (byExt != 0) return byExt < 0;
  }
  return compare(a.name, b.name) < 0;
}

}  // namespace

void SortNames(std::vector<std::u16string_view>& names, SortOrder order) {
  // The extension of each name is found once, not at every comparison.
  std::vector<SortKey> keys;
  keys.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string_view name = names[i];
    keys.push_back({name, ExtensionOf(name)});
  }
  // Each order gets a sort of its own type, so no comparison goes through a function pointer.
  const auto sortBy = [&](auto compare) {
    std::sort(keys.begin(), keys.end(),
              [&](const SortKey& a, const SortKey& b) { return Less(a, b, order.byExtension, compare); });
  };
  using View = std::u16string_view;
  if (order.numbersByValue && order.caseSensitive) {
    sortBy([](View a, View b) { return CompareNatural(a, b); });
  } else if (order.numbersByValue) {
    sortBy([](View a, View b) { return CompareNaturalFolded(a, b); });
  } else if (order.caseSensitive) {
    sortBy([](View a, View b) { return CompareOrdinal(a, b); });
  } else {
    sortBy([](View a, View b) { return CompareFolded(a, b); });
  }
  for (std::size_t i = 0; i < keys.size(); ++i) names[i] = keys[i].name;
}

}  // namespace nomvarix
