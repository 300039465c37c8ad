#include "editor/NameSort.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "editor/NameSplit.h"
#include "text/AsciiCase.h"
#include "text/NaturalCompare.h"

namespace nomvarix {
namespace {

constexpr std::size_t kHeadUnits = 4;

/// Four units of `text` from `from` on as one number whose order is theirs: the first unit in
/// the top bits, a shorter text padded with zeros (no name holds U+0000), A..Z folded when `fold`.
std::uint64_t HeadOf(std::u16string_view text, bool fold, std::size_t from = 0) {
  std::uint64_t head = 0;
  for (std::size_t i = from; i < from + kHeadUnits; ++i) {
    const char16_t unit = i < text.size() ? text[i] : u'\0';
    head = head << 16 | (fold ? FoldAscii(unit) : unit);
  }
  return head;
}

/// The order of names that a folded order finds equal ("Ab1", "aB1", "AB1", "ab1"): at the first
/// unit where they differ, a..z before A..Z, as dictionaries put them. Without it such names would
/// list in whatever order the folder gave them.
int CompareCaseOfEqualFolded(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const bool aLower = a[i] >= u'a' && a[i] <= u'z';
    const bool bLower = b[i] >= u'a' && b[i] <= u'z';
    if (aLower != bLower && FoldAscii(a[i]) == FoldAscii(b[i])) return aLower ? -1 : 1;
    return a[i] < b[i] ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

/// A name as the sort sees it. Most comparisons are decided by the heads alone, held here
/// rather than read from the names: 100,000 names lie all over memory, and a sort that reads them
/// at every comparison waits on the memory most of its time.
struct SortKey {
  std::uint64_t extensionHead;
  std::uint64_t nameHead;      ///< units 0 to 3 of the name
  std::uint64_t nameHeadNext;  ///< units 4 to 7: names of a camera or a scanner share their first four
  std::u16string_view name;
  std::u16string_view extension;
};

/// Whether `a` sorts before `b`; only equal names are equal. With `kByHeads` the heads decide first; the orders that read digit
/// runs as numbers go without them, as no fixed number of leading units can stand for those.
template <bool kByHeads, typename Compare>
bool Less(const SortKey& a, const SortKey& b, bool byExtension, Compare compare) {
  if (byExtension) {
    if constexpr (kByHeads) {
      if (a.extensionHead != b.extensionHead) return a.extensionHead < b.extensionHead;
    }
    if (!kByHeads || a.extension.size() > kHeadUnits || b.extension.size() > kHeadUnits) {
      const int byExt = compare(a.extension, b.extension);
      if (byExt != 0) return byExt < 0;
    }
  }
  if constexpr (kByHeads) {
    if (a.nameHead != b.nameHead) return a.nameHead < b.nameHead;
    if (a.nameHeadNext != b.nameHeadNext) return a.nameHeadNext < b.nameHeadNext;
  }
  const int byName = compare(a.name, b.name);
  if (byName != 0) return byName < 0;
  return CompareCaseOfEqualFolded(a.name, b.name) < 0;
}

}  // namespace

void SortNames(std::vector<std::u16string_view>& names, SortOrder order) {
  // The extension and the heads of each name are found once, not at every comparison; the orders
  // that read numbers by value have no use for heads.
  const bool fold = !order.caseSensitive;
  const bool byHeads = !order.numbersByValue;
  std::vector<SortKey> keys;
  keys.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::u16string_view name = names[i];
    const std::u16string_view extension = ExtensionOf(name);
    keys.push_back(byHeads ? SortKey{HeadOf(extension, fold), HeadOf(name, fold), HeadOf(name, fold, kHeadUnits), name, extension}
                           : SortKey{0, 0, 0, name, extension});
  }
  // Each order gets a sort of its own type, so no comparison goes through a function pointer.
  const auto sortBy = [&](auto byHeads, auto compare) {
    std::sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
      return Less<decltype(byHeads)::value>(a, b, order.byExtension, compare);
    });
  };
  using View = std::u16string_view;
  if (order.numbersByValue && order.caseSensitive) {
    sortBy(std::false_type{}, [](View a, View b) { return CompareNatural(a, b); });
  } else if (order.numbersByValue) {
    sortBy(std::false_type{}, [](View a, View b) { return CompareNaturalFolded(a, b); });
  } else if (order.caseSensitive) {
    sortBy(std::true_type{}, [](View a, View b) { return CompareOrdinal(a, b); });
  } else {
    sortBy(std::true_type{}, [](View a, View b) { return CompareFolded(a, b); });
  }
  for (std::size_t i = 0; i < keys.size(); ++i) names[i] = keys[i].name;
}

}  // namespace nomvarix
