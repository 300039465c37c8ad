#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/NameEntry.h"

namespace nomvarix {

/// Two lines that would collide, drawn as a bracket beside the text.
struct ConflictLink {
  std::int64_t firstLine = 0;   ///< the earlier line
  std::int64_t secondLine = 0;  ///< the later line
  std::u16string name;          ///< the later line's newName, as typed

  bool operator==(const ConflictLink&) const = default;
};

struct ConflictLinks {
  std::vector<ConflictLink> duplicateLinks;  ///< two lines with the same new name
  std::vector<ConflictLink> diskNameLinks;   ///< a line taking the disk name of an earlier line

  void Clear() {
    duplicateLinks.clear();
    diskNameLinks.clear();
  }
};

/// Rebuilds both lists in one pass down the list, comparing names with A..Z folded. A duplicate
/// links every later equal new name to the first line that has it; a disk-name link joins a line
/// whose new name is the original name of an earlier line (a later line's name is not looked at:
/// that map grows as the pass goes down). Lines unchanged or changed only in case take no disk name.
void CheckConflicts(const NameList& names, ConflictLinks& links);

}  // namespace nomvarix
