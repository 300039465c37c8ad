#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "apply/SavedEdits.h"

namespace nomvarix {

/// One running program's share of the saved-edits file that every running instance writes. It
/// remembers, per folder, the edits it last read from the file or wrote to it, so that a write
/// replaces only the folders whose edits this program changed since, and keeps every other folder
/// as the file holds it then: edits that another instance saved meanwhile are never dropped.
///
///   A reads X, B reads Y; A edits X, B edits Y; A writes, then B writes: the file holds both.
class KeptEdits {
 public:
  /// The saved edits of `folder` in the file's text (none when the file cannot be read), taken as
  /// what this program now holds for it.
  std::vector<PendingEditMemory::Pair> Take(std::u16string_view folder, std::string_view fileText);

  /// The folder's saved copy is replaced by this program's edits at the next write even when they
  /// look unchanged (after "Reload" or an apply, another instance may have saved the folder since).
  void Drop(std::u16string_view folder);

  /// Whether a write of `mine` would change the file (what Merge does, short of reading it).
  bool Changes(const FolderEdits& mine) const { return !ChangedFolders(mine).empty(); }
  /// What the file becomes when this program's edits are `mine` (every folder it holds edits
  /// for): `fileText` with each folder that changed here (or was dropped) replaced by its edits in
  /// `mine`, or removed when `mine` has none. Nothing when the file needs no change, or when it was
  /// written by a later version, which is left as it is.
  std::optional<std::string> Merge(std::string_view fileText, const FolderEdits& mine) const;
  /// To be told once a merge of `mine` reached the file.
  void Written(FolderEdits mine);

 private:
  /// The folders whose edits in `mine` are not what this program last read or wrote.
  std::set<std::u16string> ChangedFolders(const FolderEdits& mine) const;

  FolderEdits known_;
  std::set<std::u16string> dropped_;
};

}  // namespace nomvarix
