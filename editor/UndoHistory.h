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
#include "editor/TextPos.h"

namespace nomvarix {

/// The lines of one stretch of the list as a snapshot keeps them: each line's newName, its
/// lineText only where that is not simply the scope's part of newName, and its error mark. Cells
/// are not kept: restoring lays every line out again.
struct SavedChunk {
  /// Per line: newName, then lineText when it is kept. One byte per code unit when every unit of
  /// the chunk is below 0x100 (most file names), two otherwise.
  std::string narrowText;
  std::u16string wideText;
  std::vector<std::uint32_t> newNameEnd;   ///< per line: where its newName ends in the text
  std::vector<std::uint32_t> lineTextEnd;  ///< per line: where its kept lineText ends
  std::vector<bool> lineTextKept;
  std::vector<bool> errorMark;

  std::size_t LineCount() const { return newNameEnd.size(); }
  std::size_t Bytes() const;
  /// Units [begin, end) of the text.
  void CopyText(std::uint32_t begin, std::uint32_t end, std::u16string& out) const;
};

/// One saved state: the whole list, the selection, the caret and the first visible line. Snapshots
/// share the chunks (and the original names) that did not change between them.
struct UndoSnapshot {
  std::shared_ptr<const std::vector<std::u16string>> originalNames;
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
  /// The list was replaced or reordered (a load): nothing saved so far matches its lines.
  void ListReplaced();
  /// A line's texts or error mark changed since the last snapshot.
  void LineChanged(std::size_t line);

  /// Saves `state` as the newest undo step, keeps the newest 100 and drops the redo steps.
  void Push(const State& state);
  /// The step to go back to, after saving `current` for Redo; empty when there is none.
  std::optional<UndoSnapshot> TakeUndo(const State& current);
  /// The step to go forward to, after saving `current` for Undo; empty when there is none.
  std::optional<UndoSnapshot> TakeRedo(const State& current);
  /// The list has just been made equal to `snapshot`: its chunks become the saved copy.
  void Adopt(const UndoSnapshot& snapshot);

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
  std::shared_ptr<const std::vector<std::u16string>> originalNames_;
  std::vector<std::shared_ptr<const SavedChunk>> chunks_;
  std::vector<bool> dirty_;
};

/// The list a snapshot describes, line by line, with its cells not yet laid out. `scope` must be
/// the scope the snapshot was taken in (changing the scope empties the history).
void RestoreNames(const UndoSnapshot& snapshot, EditScope scope, NameList& names);

}  // namespace nomvarix
