#pragma once

#include <cstdint>

#include "editor/NameEntry.h"

namespace nomvarix {

/// What the conflict check needs to know of a line, kept beside the list and brought up to date
/// whenever the line's new name changes (while it is in the processor's cache): the check then
/// reads a few bytes a line instead of two names scattered over memory.
struct NameKey {
  std::uint64_t newNameHash = 0;   ///< FoldedHash of newName
  std::uint64_t diskNameHash = 0;  ///< FoldedHash of originalName
  bool changed = false;            ///< newName differs from originalName
  bool caseOnly = false;           ///< they differ, but only in the case of A..Z

  bool operator==(const NameKey&) const = default;
};

/// The key of a line from its two names.
NameKey KeyOf(const NameEntry& entry);
/// The key after the line's new name changed; the disk name's hash is taken from `before`.
NameKey KeyAfterNewName(const NameEntry& entry, const NameKey& before);

}  // namespace nomvarix
