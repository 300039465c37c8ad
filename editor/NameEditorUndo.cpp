// Undo and redo by whole snapshots of the editor's state.
#include "editor/NameEditor.h"

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
  const bool sameList = history_.IsOfCurrentList(snapshot) && keys_.size() == snapshot.originalNames->size();
  if (!sameList) ++listGeneration_;
  RestoreNames(snapshot, editScope_, names_);
  selection_ = snapshot.selection;
  caret_ = snapshot.caret;
  topLine_ = snapshot.topLine;
  keys_.resize(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    keys_[i] = sameList ? KeyAfterNewName(names_[i], keys_[i]) : KeyOf(names_[i]);
    LayoutLine(i);
  }
  anyCellMarked_ = false;
  anyNameChangedKnown_ = false;
  ForgetLongestLine();
  MarkSelectionCells();
  // The lines now are the snapshot's: its saved chunks serve the next snapshot as they are.
  history_.Adopt(snapshot);
}

}  // namespace nomvarix
