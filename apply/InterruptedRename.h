#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apply/RenameJournal.h"

namespace nomvarix {

class FileSystem;
class LockedFile;

/// What to do with the renames an interrupted apply had done.
enum class RecoveryChoice { Undo, Keep };

/// An apply that did not finish, as the disk shows it: each planned file is looked for by its
/// identity, so what happened is read from the folder, never from the journal's hopes.
class InterruptedRename {
 public:
  /// Looks at the folder of `journal`.
  InterruptedRename(RenameJournal journal, const FileSystem& fileSystem);

  const std::u16string& Folder() const { return journal_.folder; }
  bool FolderGone() const { return folderGone_; }
  /// How many planned files were renamed (they are no longer under their names before).
  std::size_t Done() const;
  std::size_t Planned() const { return journal_.steps.size(); }

  /// Undo: every renamed file goes back to its name before, in the reverse order of the plan,
  /// never replacing a file. Keep: renamed files stay, and a file left at its temporary name takes
  /// its new name, or its old one when that is taken. Returns the names of the files that could not
  /// be put where the choice wanted them, as they are now.
  std::vector<std::u16string> Settle(RecoveryChoice choice, FileSystem& fileSystem) const;

  /// "An earlier rename in <folder> was interrupted after N of M files."
  std::u16string Question() const;

 private:
  /// Each puts one renamed file, now at `now`, where the choice wants it; the name it is left under
  /// when it could not.
  std::optional<std::u16string> Undo(const JournalStep& step, std::u16string now, FileSystem& fileSystem) const;
  std::optional<std::u16string> Keep(const JournalStep& step, const std::u16string& now, FileSystem& fileSystem) const;
  bool Move(std::u16string_view from, std::u16string_view to, FileSystem& fileSystem) const;

  RenameJournal journal_;
  bool folderGone_ = false;
  /// Per step: the file's name now; empty when it was not found.
  std::vector<std::u16string> nameNow_;
};

/// A journal left by a run that ended half way, taken over by this one: it stays locked until the
/// file is removed and this is destroyed.
struct LeftJournal {
  std::unique_ptr<LockedFile> file;
  InterruptedRename rename;
};

/// The journals in `stateFolder` that no running program holds, each taken over. One that this
/// program cannot read (a later version's) is left as it is.
std::vector<LeftJournal> TakeOverLeftJournals(const FileSystem& fileSystem, std::u16string_view stateFolder);

/// The message for files that Settle could not place, listing them; empty when there are none.
std::u16string UnplacedFilesMessage(RecoveryChoice choice, const std::vector<std::u16string>& names);

/// The message for a journal whose folder no longer exists.
std::u16string FolderGoneMessage(std::u16string_view folder);

}  // namespace nomvarix
