#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "apply/RenameBatch.h"
#include "apply/RenameHistory.h"

namespace nomvarix {

class FileSystem;

/// What an undo of a history entry would do to one of its files, as the folder is now.
enum class UndoAction {
  MoveBack,         ///< it has the entry's new name: it gets its old name back
  MoveBackFromElsewhere,  ///< found under another name of the folder: moved back only when the user agrees
  OldNameTaken,     ///< another file has its old name now: not moved
  AlreadyBack,      ///< it has its old name already
  Gone,             ///< no file of the folder is it any more
  NotChosen,        ///< not among the files chosen for the undo
};

/// One file of an entry, as the undo would treat it.
struct UndoFile {
  std::size_t index = 0;     ///< the file's place in the entry
  UndoAction action = UndoAction::Gone;
  std::u16string nameNow;    ///< where the file was found; empty when it is gone
  bool moves = false;        ///< the undo moves it back to its old name
};

/// An entry's state in the history list.
enum class HistoryState {
  CanBeUndone,     ///< every file would go back
  Partly,          ///< some files would go back; others were renamed, are gone or are back already
  Undone,          ///< every file has its old name
  CannotBeUndone,  ///< no file would go back
};

/// "can be undone", "partly", "undone", "cannot be undone".
std::u16string_view HistoryStateText(HistoryState state);
/// What the undo would do to the file, in words: "back to a.txt", "another file is a.txt now", ...
std::u16string UndoActionText(const HistoryFile& file, const UndoFile& undo);

/// Which files of an entry an undo takes: `chosen` per file of the entry (empty: every file);
/// files found under another name are taken only when `elsewhereToo`.
struct UndoChoice {
  std::vector<bool> chosen;
  bool elsewhereToo = false;
};

/// What undoing `entry` would do now, per file in the entry's order. Only the entry's folder is
/// looked at: a file is its file only by its identity. A file found under its new name goes back
/// unless a file that is not going to move too has its old name; one found only under another name
/// of the folder is looked for by listing the folder, and goes back when `choice.elsewhereToo`.
std::vector<UndoFile> PlanUndo(const HistoryEntry& entry, const FileSystem& fileSystem, const UndoChoice& choice = {});

/// The entry's state, looked at as PlanUndo looks at it but without listing the folder: a file not
/// under its new or old name counts as gone.
HistoryState StateOf(const HistoryEntry& entry, const FileSystem& fileSystem);

/// The state of a planned undo: how many files would go back, out of how many.
HistoryState StateOf(const std::vector<UndoFile>& plan);

/// The undo as a batch for the apply (RenameFiles): a line per file that goes back, from its name
/// now to its old name, latest rename first, so that a chain of renames unwinds in order. `plan`
/// is PlanUndo's for `entry`.
NameList UndoBatch(const HistoryEntry& entry, const std::vector<UndoFile>& plan);

/// The identity each line of `batch` must still have when its turn comes, as `entry` recorded it. A
/// line whose file `renamePlan` did not find (gone since PlanUndo looked) is left unchanged, so that
/// no file is renamed without that check.
void ExpectRecordedIdentities(const HistoryEntry& entry, const std::vector<UndoFile>& plan, NameList& batch,
                              RenamePlan& renamePlan);

/// The history entry of a finished batch in `folder`: one file per rename done, with the identity
/// the plan recorded for it.
HistoryEntry EntryOfBatch(HistoryKind kind, std::u16string_view folder, const RenamePlan& plan,
                          const RenameBatchResult& batch);

}  // namespace nomvarix
