#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "apply/SavedEdits.h"

namespace nomvarix {

/// One folder's kept edits as a merge needs to remember them: for each file a 64-bit hash of its
/// name and one of its edit (the new name and the stamp), 16 bytes an edit instead of the edits'
/// names and stamps. Enough to tell, file by file, whether an edit is the one remembered.
class EditFingerprints {
 public:
  EditFingerprints() = default;
  explicit EditFingerprints(const std::vector<SavedEdit>& edits);

  /// The hash of the remembered edit of the file named `original`; nothing when it had none.
  std::optional<std::uint64_t> EditOf(std::u16string_view original) const;
  bool Empty() const { return byName_.empty(); }

  static std::uint64_t NameHash(std::u16string_view name);
  static std::uint64_t EditHash(const SavedEdit& edit);

  /// Whether `edits` are the remembered edits, in the same order; without sorting them.
  bool Remembers(const std::vector<SavedEdit>& edits) const;

 private:
  /// (name hash, edit hash), sorted; the later edit wins for a name given twice.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> byName_;
  /// A hash of the whole list in its order, so that a reordered list is a changed one.
  std::uint64_t ordered_ = 0;
  std::size_t count_ = 0;
  static std::uint64_t OrderedHash(const std::vector<SavedEdit>& edits);
};

}  // namespace nomvarix
