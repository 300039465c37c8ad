#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/NameEntry.h"
#include "editor/NameKey.h"
#include "editor/UnlistedEntries.h"

namespace nomvarix {

/// Every name a folder held when it was listed, the lines' names on disk and the entries that are
/// no line, found by a name with A..Z folded: what validation asks instead of the disk, one
/// look-up in memory per name instead of a system call. A name taken since the listing is not
/// known here; the apply refuses to rename onto it all the same.
class ListedNames {
 public:
  /// One listed entry holding a name: a line of the list, or kNoLine for an entry that is no line.
  struct Holder {
    std::uint32_t line = kNoLine;
    std::u16string_view name;
  };

  /// `names`, `keys` (their NameKeys) and `unlisted` must outlive this and stay unchanged.
  ListedNames(const NameList& names, const std::vector<NameKey>& keys, const UnlistedEntries& unlisted);

  /// Every listed entry whose name equals `name` with A..Z folded (`hash` is its FoldedHash), the
  /// one spelt exactly as `name` first when there is one.
  std::vector<Holder> Spellings(std::u16string_view name, std::uint64_t hash) const;

 private:
  std::u16string_view NameOf(std::uint32_t index) const;

  const NameList& names_;
  const UnlistedEntries& unlisted_;
  /// (FoldedHash of the name, index) sorted; an index past the lines is an unlisted entry's.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byHash_;
};

}  // namespace nomvarix
