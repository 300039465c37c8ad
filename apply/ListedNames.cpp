#include "apply/ListedNames.h"

#include <algorithm>

#include "text/AsciiCase.h"
#include "text/FoldedHash.h"

namespace nomvarix {

ListedNames::ListedNames(const NameList& names, const std::vector<NameKey>& keys, const UnlistedEntries& unlisted)
    : names_(names), unlisted_(unlisted) {
  byHash_.reserve(keys.size() + unlisted.Count());
  for (std::size_t line = 0; line < keys.size(); ++line) {
    byHash_.emplace_back(keys[line].diskNameHash, static_cast<std::uint32_t>(line));
  }
  for (std::size_t i = 0; i < unlisted.Count(); ++i) {
    byHash_.emplace_back(FoldedHash(unlisted.Name(i)), static_cast<std::uint32_t>(names.size() + i));
  }
  std::sort(byHash_.begin(), byHash_.end());
}

std::u16string_view ListedNames::NameOf(std::uint32_t index) const {
  return index < names_.size() ? std::u16string_view(names_[index].originalName) : unlisted_.Name(index - names_.size());
}

std::vector<ListedNames::Holder> ListedNames::Spellings(std::u16string_view name, std::uint64_t hash) const {
  std::vector<Holder> found;
  auto at = std::lower_bound(byHash_.begin(), byHash_.end(), std::pair<std::uint64_t, std::uint32_t>(hash, 0));
  for (; at != byHash_.end() && at->first == hash; ++at) {
    const std::u16string_view listed = NameOf(at->second);
    if (!EqualsFolded(listed, name)) continue;
    const Holder holder{at->second < names_.size() ? at->second : kNoLine, listed};
    if (listed == name) {
      found.insert(found.begin(), holder);
    } else {
      found.push_back(holder);
    }
  }
  return found;
}

}  // namespace nomvarix
