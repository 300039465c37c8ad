#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/NameEditor.h"
#include "editor/NameEntry.h"

namespace nomvarix {

/// Unapplied edits per folder, kept while the program runs: for each folder path (compared
/// exactly) the (original name, new name) pairs of its changed lines, in list order. A folder with
/// no changed line has no entry.
class PendingEditMemory {
 public:
  using Pair = std::pair<std::u16string, std::u16string>;

  /// The (original name, new name) pairs of the lines of `names` whose new name differs, in order.
  static std::vector<Pair> ChangedPairs(const NameList& names);

  /// Stores the changed lines of `names` as the folder's entry, replacing what it held; removes the
  /// entry when no line is changed. An empty folder path stores nothing. When `listed` is given
  /// (the list was loaded through a filter), the remembered pairs of the files it does not let
  /// through stay: a filter hides those lines, it does not drop their edits.
  void Save(std::u16string_view folder, const NameList& names, const EntryFilter& listed = {});
  /// What Save would store: the changed lines of `names`, then the remembered pairs of the files
  /// that `listed` (when given) does not let through.
  std::vector<Pair> PairsToSave(std::u16string_view folder, const NameList& names, const EntryFilter& listed) const;
  /// The remembered pairs of `folder` whose files `listed` does not let through (none without it).
  std::vector<Pair> HiddenPairs(std::u16string_view folder, const EntryFilter& listed) const;
  /// Gives every line whose original name is remembered for `folder` its remembered new name (the
  /// later pair wins for a name stored twice). False, touching nothing, when the folder has no entry.
  bool Restore(std::u16string_view folder, NameEditor& editor) const;
  void Forget(std::u16string_view folder);
  /// Makes `pairs` the folder's entry (none when empty), as a save of lines with these edits would.
  void Set(std::u16string_view folder, std::vector<Pair> pairs);

  /// Every folder's entry.
  const std::unordered_map<std::u16string, std::vector<Pair>>& Folders() const { return edits_; }

  /// The folder's pairs; null when it has no entry.
  const std::vector<Pair>* Find(std::u16string_view folder) const;

 private:
  std::unordered_map<std::u16string, std::vector<Pair>> edits_;
};

}  // namespace nomvarix
