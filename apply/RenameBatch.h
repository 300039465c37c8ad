#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

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
  /// The lines looked at, from the first: all of them unless the work was cancelled.
  std::size_t linesDone = 0;

  bool RenamedAnything() const { return !revertList.empty(); }
  std::size_t SkippedCount() const;
};

/// Renames the files of `folder` (ending with a separator) whose lines have a new name, one at a
/// time in list order, never replacing an existing file. Skipped: empty names, names starting
/// with ".", names holding a path separator or NUL, and names taken by another file, unless
/// `autoRename` gives those the first free "<stem>_00001<.ext>" (up to 99999). A new spelling of
/// the same file (a case-insensitive file system) goes through a temporary name. `progress` is told
/// of each line; a cancel stops the batch before the next line, the renames done recorded.
RenameBatchResult RenameFiles(const NameList& names, std::u16string_view folder, FileSystem& fileSystem,
                              bool autoRename, WorkProgress& progress = NoProgress());

}  // namespace nomvarix
