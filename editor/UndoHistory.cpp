#include "editor/UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace nomvarix {

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
  groupStepSaved_ = false;
}

void UndoHistory::ListLoaded(std::size_t lineCount) {
  list_ = std::make_shared<SnapshotList>(SnapshotList{lineCount, {}});
  const std::size_t chunkCount = (lineCount + kChunkLines - 1) / kChunkLines;
  chunks_.resize(chunkCount);
  for (std::size_t c = 0; c < chunkCount; ++c) {
    chunks_[c] = SavedChunk::AsOnDisk(std::min(kChunkLines, lineCount - c * kChunkLines));
  }
  dirty_.assign(chunkCount, 0);
}

void UndoHistory::ListLeaving(const NameList& names) {
  // Only the stacks' steps can still need them, and none may hold this list.
  if (!list_ || list_.use_count() == 1 || !list_->originalNames.empty()) return;
  list_->originalNames.reserve(names.size());
  for (const NameEntry& entry : names) list_->originalNames.push_back(entry.originalName);
}

void UndoHistory::ListReplaced() {
  list_.reset();
  chunks_.clear();
  dirty_.clear();
}

void UndoHistory::LineChanged(std::size_t line) {
  const std::size_t chunk = line / kChunkLines;
  if (chunk < dirty_.size()) dirty_[chunk] = true;
}

void UndoHistory::SaveChangedChunk(const State& state, std::size_t chunk) {
  // Only while the saved chunks describe this list (a snapshot of it has been taken).
  if (!list_ || list_->lineCount != state.names.size() || chunk >= chunks_.size() || !dirty_[chunk]) {
    return;
  }
  chunks_[chunk] = SaveChunk(state, chunk);
  dirty_[chunk] = false;
}

std::shared_ptr<const SavedChunk> UndoHistory::SaveChunk(const State& state, std::size_t chunk) const {
  const std::size_t first = chunk * kChunkLines;
  const std::size_t last = std::min(first + kChunkLines, state.names.size());
  return SavedChunk::Save(state.names, first, last, state.scope, chunk < chunks_.size() ? chunks_[chunk] : nullptr);
}

UndoSnapshot UndoHistory::Capture(const State& state) {
  const std::size_t count = state.names.size();
  if (!list_ || list_->lineCount != count) {
    list_ = std::make_shared<SnapshotList>(SnapshotList{count, {}});
    chunks_.clear();
  }
  const std::size_t chunkCount = (count + kChunkLines - 1) / kChunkLines;
  chunks_.resize(chunkCount);
  dirty_.resize(chunkCount, true);
  for (std::size_t c = 0; c < chunkCount; ++c) {
    if (!chunks_[c] || dirty_[c]) chunks_[c] = SaveChunk(state, c);
    dirty_[c] = false;
  }
  return UndoSnapshot{list_, chunks_, state.selection, state.caret, state.topLine};
}

void UndoHistory::Push(const State& state) {
  if (grouping_ && groupStepSaved_) return;
  groupStepSaved_ = grouping_;
  undo_.push_back(Capture(state));
  while (undo_.size() > kLimit) undo_.pop_front();
  redo_.clear();
}

void UndoHistory::OpenGroup() {
  grouping_ = true;
  groupStepSaved_ = false;
}

std::optional<UndoSnapshot> UndoHistory::Take(std::deque<UndoSnapshot>& from, std::deque<UndoSnapshot>& to,
                                              const State& current) {
  if (from.empty()) return std::nullopt;
  // The group's step is no longer the newest: the next edit saves one again.
  groupStepSaved_ = false;
  to.push_back(Capture(current));
  UndoSnapshot snapshot = std::move(from.back());
  from.pop_back();
  return snapshot;
}

std::optional<UndoSnapshot> UndoHistory::TakeUndo(const State& current) { return Take(undo_, redo_, current); }

std::optional<UndoSnapshot> UndoHistory::TakeRedo(const State& current) { return Take(redo_, undo_, current); }

void UndoHistory::Adopt(const UndoSnapshot& snapshot) {
  list_ = snapshot.list;
  chunks_ = snapshot.chunks;
  dirty_.assign(chunks_.size(), 0);
}

std::size_t UndoHistory::MemoryBytes() const {
  std::unordered_set<const void*> counted;
  std::size_t bytes = 0;
  const auto countChunk = [&](const SavedChunk* chunk) {
    if (chunk && counted.insert(chunk).second) bytes += chunk->OwnBytes();
  };
  const auto count = [&](const UndoSnapshot& snapshot) {
    bytes += sizeof(UndoSnapshot) + snapshot.chunks.capacity() * sizeof(snapshot.chunks[0]);
    if (snapshot.list && counted.insert(snapshot.list.get()).second) {
      for (const auto& name : snapshot.list->originalNames) bytes += sizeof(name) + name.capacity() * sizeof(char16_t);
    }
    for (const auto& chunk : snapshot.chunks) {
      countChunk(chunk.get());
      countChunk(chunk->Base());
    }
  };
  for (const UndoSnapshot& snapshot : undo_) count(snapshot);
  for (const UndoSnapshot& snapshot : redo_) count(snapshot);
  return bytes;
}

void RestoreLines(const UndoSnapshot& snapshot, bool sameList, EditScope scope, NameList& names, std::size_t begin,
                  std::size_t end) {
  for (std::size_t line = begin; line < end; ++line) {
    if (!sameList && line < snapshot.list->originalNames.size() &&
        names[line].originalName != snapshot.list->originalNames[line]) {
      // The line shows another file again, one whose identity the list no longer holds.
      names[line].originalName = snapshot.list->originalNames[line];
      names[line].listedIdentity = {};
    }
    snapshot.chunks[line / UndoHistory::kChunkLines]->Restore(line % UndoHistory::kChunkLines, scope, names[line]);
  }
}

}  // namespace nomvarix
