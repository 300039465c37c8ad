// Undo and redo by whole snapshots of the editor's state.
#include "editor/NameEditor.h"
#include "editor/ParallelRanges.h"

namespace nomvarix {

UndoHistory::State NameEditor::CurrentState() const {
  return {names_, editScope_, selection_, caret_, topLine_};
}

void NameEditor::PushUndo() { history_.Push(CurrentState()); }

bool NameEditor::Undo() {
  auto snapshot = history_.TakeUndo(CurrentState());
  if (!snapshot) return false;
  Restore(*snapshot);
  return true;
}

bool NameEditor::Redo() {
  auto snapshot = history_.TakeRedo(CurrentState());
  if (!snapshot) return false;
  Restore(*snapshot);
  return true;
}

void NameEditor::Restore(const UndoSnapshot& snapshot) {
  // A step from before the lines of a revert were shown brings the other list back.
  const bool sameList = history_.IsOfCurrentList(snapshot) && keys_.size() == snapshot.list->lineCount;
  if (!sameList) {
    history_.ListLeaving(names_);
    ++listGeneration_;
  }
  names_.resize(snapshot.list->lineCount);
  keys_.resize(names_.size());
  ParallelRanges(names_.size(), UndoHistory::kChunkLines, names_.size() >= kParallelLines,
                 [&](std::size_t begin, std::size_t end) {
    RestoreLines(snapshot, sameList, editScope_, names_, begin, end);
    for (std::size_t i = begin; i < end; ++i) {
      keys_[i] = sameList ? KeyAfterNewName(names_[i], keys_[i]) : KeyOf(names_[i]);
    }
  });
  selection_ = snapshot.selection;
  caret_ = snapshot.caret;
  topLine_ = snapshot.topLine;
  anyNameChangedKnown_ = false;
  namesTouched_ = true;
  keysChanged_ = true;
  ForgetLongestLine();
  MarkSelectionCells();
  // The lines now are the snapshot's: its saved chunks serve the next snapshot as they are.
  history_.Adopt(snapshot);
}

}  // namespace nomvarix
