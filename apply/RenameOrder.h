#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/NameEntry.h"

namespace nomvarix {

class FileSystem;

/// The lines of a batch whose files the batch renames away, found by their names on disk: a line
/// is renamed away when it is changed, its new name is one the apply does not refuse, and that new
/// name is not merely another spelling of the same name on a file system that ignores case (the
/// file then keeps holding its name).
class NamesRenamedAway {
 public:
  /// `names` and `fileSystem` must outlive this; `folder` ends with a separator.
  NamesRenamedAway(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem);

  /// The line, other than `line`, whose file holds `line`'s new name now and is renamed away;
  /// kNoLine when there is none (the name is free, or held by a file that stays: unchanged,
  /// refused, not listed).
  std::uint32_t HolderOf(std::size_t line) const;
  bool RenamedAway(std::size_t line) const;

 private:
  std::uint32_t Candidate(std::u16string_view name) const;

  enum class Away : std::uint8_t { Unknown, Yes, No };

  const NameList& names_;
  const std::u16string folder_;
  const FileSystem& fileSystem_;
  /// The FoldedHash of each name that may be renamed away, with its line, in order: names equal
  /// but for A..Z's case lie side by side.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byFoldedName_;
  /// Per line, RenamedAway's answer once asked: the chain walk asks it of each holder again.
  mutable std::vector<Away> away_;
};

/// One move of an apply: a line's file to its new name or, for the file that opens a cycle, to its
/// temporary name; that line's later step takes it on to its new name.
struct RenameStep {
  std::uint32_t line = 0;
  bool parks = false;
};

/// The order in which a batch renames its files, so that no target is still held by a file of the
/// batch when its turn comes. Each chain starts at its free end (the file whose target is free, or
/// held by a file that stays) and goes back link by link; a cycle (a swap, a rotation) is opened
/// by parking one of its files under a temporary name, then followed, and closed by moving the
/// parked file to its new name. Lines that wait for a file which is also waited for by a line of
/// the cycle come after the whole cycle.
///
///   a→b, b→c, c→d (d free):  c→d, b→c, a→b.
///   a→b, b→a:                a→temporary, b→a, temporary→b.
struct RenameOrder {
  /// A step for every changed line (two for a parked one), in the order of renaming.
  std::vector<RenameStep> steps;
  /// Per line: the line whose file holds its new name now and is renamed away (the next link of
  /// its chain); kNoLine for none.
  std::vector<std::uint32_t> waitsFor;
  std::size_t renames = 0;    ///< changed lines
  std::size_t chained = 0;    ///< renames that wait for another and are no part of a cycle
  std::size_t chains = 0;     ///< chains of two renames or more
  std::size_t swaps = 0;      ///< cycles of two
  std::size_t rotations = 0;  ///< longer cycles
};

/// The order for the changed lines of `names` in `folder` (ending with a separator).
RenameOrder OrderRenames(const NameList& names, std::u16string_view folder, const FileSystem& fileSystem);

/// What the apply is about to do, for its confirmation: "400 renames, 399 of them in one chain; 2
/// swaps through a temporary name."
std::u16string RenameOrderText(const RenameOrder& order);

}  // namespace nomvarix
