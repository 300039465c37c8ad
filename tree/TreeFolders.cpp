#include "tree/TreeFolders.h"

#include <algorithm>

#include "text/NaturalCompare.h"

namespace nomvarix {

bool TreeListsFolder(const DirEntry& entry) {
  if (!entry.isFolder || entry.name == u"." || entry.name == u"..") return false;
#ifdef _WIN32
  return true;
#else
  return !entry.isHidden;
#endif
}

void SortTreeFolders([[maybe_unused]] std::vector<std::u16string>& names) {
#ifndef _WIN32
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return CompareNaturalFoldedFirst(a, b) < 0; });
#endif
}

}  // namespace nomvarix
