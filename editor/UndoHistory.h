#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/BlockSelection.h"
#include "editor/EditScope.h"
#include "editor/NameEntry.h"
#include "editor/SavedChunk.h"
#include "editor/TextPos.h"

namespace nomvarix {

/// The lines a snapshot was taken of: one per list shown (a load, or the lines of a revert). Its
/// original names are copied only when the list stops being shown while steps of it remain:
/// until then they are the lines' own.
struct SnapshotList {
  std::size_t lineCount = 0;
  std::vector<std::u16string> originalNames;
};

/// One saved state: the whole list, the selection, the caret and the first visible line. Snapshots
/// share the chunks (and the list) that did not change between them.
struct UndoSnapshot {
  std::shared_ptr<SnapshotList> list;
  std::vector<std::shared_ptr<const SavedChunk>> chunks;
  BlockSelection selection;
  TextPos caret;
  std::int32_t topLine = 0;
};

/// The undo and redo stacks. It keeps the latest saved copy of every chunk of lines and copies a
/// chunk again only after one of its lines changed, so a snapshot costs about the text of the
/// lines that changed since the one before.
class UndoHistory {
 public:
  static constexpr std::size_t kLimit = 100;
  static constexpr std::size_t kChunkLines = 256;

  /// What a snapshot is taken of.
  struct State {
    const NameList& names;
    EditScope scope;
    BlockSelection selection;
    TextPos caret;
    std::int32_t topLine;
  };

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }

  /// Empties both stacks.
  void Clear();
  /// A folder's lines were just loaded, `lineCount` of them, every one showing its name on disk:
  /// they are saved as they are without copying a thing.
  void ListLoaded(std::size_t lineCount);
  /// `names` are about to be replaced by other lines: steps taken of them keep their original names.
  void ListLeaving(const NameList& names);
  /// The list was replaced by other lines: nothing saved so far matches them.
  void ListReplaced();
  /// A line's texts or error mark changed since the last snapshot.
  void LineChanged(std::size_t line);
  /// Saves one chunk of lines now if it changed since it was last saved. An edit over many lines
  /// calls it as it leaves each chunk, while the chunk's lines are still in the processor's cache:
  /// the next snapshot then has little left to copy.
  void SaveChangedChunk(const State& state, std::size_t chunk);

  /// Saves `state` as the newest undo step, keeps the newest 100 and drops the redo steps. Inside a
  /// group only the first push since the group opened (or since an undo or redo in it) saves a step.
  void Push(const State& state);
  /// Edits from here to CloseGroup are undone as one step (a played macro).
  void OpenGroup();
  void CloseGroup() { grouping_ = false; }
  /// The step to go back to, after saving `current` for Redo; empty when there is none.
  std::optional<UndoSnapshot> TakeUndo(const State& current);
  /// The step to go forward to, after saving `current` for Undo; empty when there is none.
  std::optional<UndoSnapshot> TakeRedo(const State& current);
  /// The list has just been made equal to `snapshot`: its chunks become the saved copy.
  void Adopt(const UndoSnapshot& snapshot);

  /// Whether `snapshot` was taken of the list as it is now loaded (the same names on disk).
  bool IsOfCurrentList(const UndoSnapshot& snapshot) const { return snapshot.list == list_; }

  /// Bytes held by both stacks, every shared chunk and name list counted once.
  std::size_t MemoryBytes() const;

 private:
  UndoSnapshot Capture(const State& state);
  /// Moves the newest step of `from` out, after saving `current` on `to` (no limit applied).
  std::optional<UndoSnapshot> Take(std::deque<UndoSnapshot>& from, std::deque<UndoSnapshot>& to,
                                   const State& current);
  std::shared_ptr<const SavedChunk> SaveChunk(const State& state, std::size_t chunk) const;

  std::deque<UndoSnapshot> undo_;
  std::deque<UndoSnapshot> redo_;
  std::shared_ptr<SnapshotList> list_;
  std::vector<std::shared_ptr<const SavedChunk>> chunks_;
  bool grouping_ = false;
  bool groupStepSaved_ = false;  ///< the open group's step is on the undo stack
  std::vector<std::uint8_t> dirty_;  ///< per chunk: changed since saved (a byte each, so that edits of
                                     ///< different chunks may run side by side)
};

/// Lines [begin, end) of the list a snapshot describes; `names` already holds as many lines as the
/// snapshot, and, unless `sameList`, the snapshot's list has its original names. `scope` must be
/// the scope the snapshot was taken in (changing the scope empties the history).
void RestoreLines(const UndoSnapshot& snapshot, bool sameList, EditScope scope, NameList& names, std::size_t begin,
                  std::size_t end);

}  // namespace nomvarix
