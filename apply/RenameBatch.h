#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apply/RenameJournal.h"
#include "editor/NameEntry.h"
#include "editor/WorkProgress.h"

namespace nomvarix {

class FileSystem;

/// What renaming a folder's changed lines did.
struct RenameBatchResult {
  /// One record per renamed file, in the order of renaming: `originalName` is its name now,
  /// `newName` and `lineText` the name it had before.
  NameList revertList;
  /// Per line of the list: it was changed but its file was not renamed.
  std::vector<bool> skipped;
  /// Every line before this one was looked at: all of them unless the work was cancelled.
  std::size_t linesDone = 0;
  /// Per line of the list: it was changed, but a cancel stopped the batch before its turn.
  std::vector<bool> unreached;
  /// Why files were skipped that validation could not foresee, a line each:
  /// "3: photo.jpg is no longer the file listed\n".
  std::u16string report;

  bool RenamedAnything() const { return !revertList.empty(); }
  std::size_t SkippedCount() const;
};

/// Whether `name` would reach outside the folder or cannot be a file name anywhere: "." or "..", or
/// holding a path separator or NUL.
bool LeavesTheFolder(std::u16string_view name);

/// Whether `a` and `b` may be two spellings of one name on a file system that ignores case: equal
/// but where A..Z differ only in case, or where either has a character beyond ASCII. A rename
/// between them may do nothing and still succeed on such a system (Wine does so), so it goes the
/// careful way, through a temporary name.
bool MaySpellTheSameName(std::u16string_view a, std::u16string_view b);

/// The name whose numbered form "<stem>_00001<.ext>" (up to 99999), as an auto-renamed file gets
/// it, `numbered` is; empty when it is no such form.
std::optional<std::u16string> NameBeforeNumbering(std::u16string_view numbered);

/// The temporary name number `n` (from 1) that a new spelling of a name passes through.
std::u16string TemporaryName(int n);
inline constexpr int kLastTemporaryName = 99999;

/// Renames the files of `folder` (ending with a separator) whose lines have a new name, one at a
/// time in the order of OrderRenames (so a swap, a rotation or a shifted numbering is renamed
/// whole), never replacing an existing file. Skipped: empty names, names starting with ".", names
/// holding a path separator or NUL, and names taken by another file, unless `autoRename` gives
/// those the first free "<stem>_00001<.ext>" (up to 99999). When a link of a chain fails so, the
/// lines waiting for it are skipped too, and the report says so; a file parked under a temporary
/// name to open a cycle then goes to its new name, or back to its old one, or to a numbered form
/// of its new name, and never stays parked unless every one of them is taken. A new spelling of
/// the same file (a case-insensitive file system) goes through a temporary name. `progress` is told
/// of each step; a cancel stops the batch before the next step (never while a file is parked), the
/// renames done recorded.
/// A file that is no longer what the list shows (gone, now a folder, a FIFO, a device, or another
/// file than the line's listed identity or, for a line without one, its journal step records) is
/// skipped and said so in the report.
/// `plan`, when given, is the apply's journal and order: its steps' identities, and per line the
/// temporary name reserved for it (without a plan the order is made here and the first free
/// temporary name is taken).
RenameBatchResult RenameFiles(const NameList& names, std::u16string_view folder, FileSystem& fileSystem,
                              bool autoRename, WorkProgress& progress = NoProgress(), const RenamePlan* plan = nullptr);

}  // namespace nomvarix
