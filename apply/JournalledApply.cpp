#include "apply/JournalledApply.h"

#include <memory>

#include "platform/LockedFile.h"

namespace nomvarix {

JournalledBatch RenameUnderJournal(const NameList& names, std::u16string_view folder, const RenamePlan& plan,
                                   FileSystem& fileSystem, bool autoRename, WorkProgress& progress,
                                   std::u16string_view journalFolder, bool unprotectedToo) {
  JournalledBatch result;
  std::unique_ptr<LockedFile> journal;
  if (!journalFolder.empty() && !plan.journal.steps.empty()) {
    journal = WriteJournal(plan.journal, journalFolder, result.unprotectedReason);
    if (!journal && !unprotectedToo) {
      result.refused = true;
      result.batch.skipped.assign(names.size(), false);
      return result;
    }
  }
  result.batch = RenameFiles(names, folder, fileSystem, autoRename, progress, &plan);
  if (journal) journal->Remove();
  return result;
}

}  // namespace nomvarix
