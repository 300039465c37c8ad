#pragma once

#include <string>
#include <string_view>

#include "apply/RenameBatch.h"

namespace nomvarix {

/// What renaming a batch under its journal did.
struct JournalledBatch {
  /// Nothing was renamed: the journal could not be written and renaming without one was not allowed.
  bool refused = false;
  /// Why no journal protected the batch; empty when one did, or none was wanted.
  std::u16string unprotectedReason;
  RenameBatchResult batch;
};

/// Renames `names` in `folder` as RenameFiles does, by `plan` (PlanRenames' for them). Before the
/// first rename the plan's journal is written to `journalFolder` (empty: none is kept), and it is
/// removed once the batch is over; when it cannot be written, nothing is renamed unless
/// `unprotectedToo`. Every apply, an undo from the history among them, goes through here.
JournalledBatch RenameUnderJournal(const NameList& names, std::u16string_view folder, const RenamePlan& plan,
                                   FileSystem& fileSystem, bool autoRename, WorkProgress& progress,
                                   std::u16string_view journalFolder, bool unprotectedToo);

}  // namespace nomvarix
