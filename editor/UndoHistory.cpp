#include "editor/UndoHistory.h"

#include <algorithm>
#include <unordered_set>

namespace nomvarix {

std::size_t SavedChunk::Bytes() const {
  return sizeof(SavedChunk) + text.capacity() * sizeof(char16_t) +
         (newNameEnd.capacity() + lineTextEnd.capacity()) * sizeof(std::uint32_t) +
         (lineTextKept.capacity() + errorMark.capacity()) / 8;
}

void UndoHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

void UndoHistory::ListReplaced() {
  originalNames_.reset();
  chunks_.clear();
  dirty_.clear();
}

void UndoHistory::LineChanged(std::size_t line) {
  const std::size_t chunk = line / kChunkLines;
  if (chunk < dirty_.size()) dirty_[chunk] = true;
}

std::shared_ptr<const SavedChunk> UndoHistory::SaveChunk(const State& state, std::size_t chunk) const {
  auto saved = std::make_shared<SavedChunk>();
  const std::size_t first = chunk * kChunkLines;
  const std::size_t last = std::min(first + kChunkLines, state.names.size());
  std::size_t length = 0;
  for (std::size_t i = first; i < last; ++i) length += state.names[i].newName.size();
  saved->text.reserve(length);
  for (std::size_t i = first; i < last; ++i) {
    const NameEntry& entry = state.names[i];
    saved->text += entry.newName;
    saved->newNameEnd.push_back(static_cast<std::uint32_t>(saved->text.size()));
    const bool kept = entry.lineText != ScopedPart(entry.newName, state.scope);
    if (kept) saved->text += entry.lineText;
    saved->lineTextEnd.push_back(static_cast<std::uint32_t>(saved->text.size()));
    saved->lineTextKept.push_back(kept);
    saved->errorMark.push_back(entry.errorMark);
  }
  saved->text.shrink_to_fit();
  return saved;
}

UndoSnapshot UndoHistory::Capture(const State& state) {
  const std::size_t count = state.names.size();
  if (!originalNames_ || originalNames_->size() != count) {
    auto names = std::make_shared<std::vector<std::u16string>>();
    names->reserve(count);
    for (const NameEntry& entry : state.names) names->push_back(entry.originalName);
    originalNames_ = std::move(names);
    chunks_.clear();
  }
  const std::size_t chunkCount = (count + kChunkLines - 1) / kChunkLines;
  chunks_.resize(chunkCount);
  dirty_.resize(chunkCount, true);
  for (std::size_t c = 0; c < chunkCount; ++c) {
    if (!chunks_[c] || dirty_[c]) chunks_[c] = SaveChunk(state, c);
    dirty_[c] = false;
  }
  return UndoSnapshot{originalNames_, chunks_, state.selection, state.caret, state.topLine};
}

void UndoHistory::Push(const State& state) {
  undo_.push_back(Capture(state));
  while (undo_.size() > kLimit) undo_.pop_front();
  redo_.clear();
}

std::optional<UndoSnapshot> UndoHistory::TakeUndo(const State& current) {
  if (undo_.empty()) return std::nullopt;
  redo_.push_back(Capture(current));
  UndoSnapshot snapshot = std::move(undo_.back());
  undo_.pop_back();
  return snapshot;
}

std::optional<UndoSnapshot> UndoHistory::TakeRedo(const State& current) {
  if (redo_.empty()) return std::nullopt;
  undo_.push_back(Capture(current));
  UndoSnapshot snapshot = std::move(redo_.back());
  redo_.pop_back();
  return snapshot;
}

void UndoHistory::Adopt(const UndoSnapshot& snapshot) {
  originalNames_ = snapshot.originalNames;
  chunks_ = snapshot.chunks;
  dirty_.assign(chunks_.size(), false);
}

std::size_t UndoHistory::MemoryBytes() const {
  std::unordered_set<const void*> counted;
  std::size_t bytes = 0;
  const auto count = [&](const UndoSnapshot& snapshot) {
    bytes += sizeof(UndoSnapshot) + snapshot.chunks.capacity() * sizeof(snapshot.chunks[0]);
    if (snapshot.originalNames && counted.insert(snapshot.originalNames.get()).second) {
      for (const auto& name : *snapshot.originalNames) bytes += sizeof(name) + name.capacity() * sizeof(char16_t);
    }
    for (const auto& chunk : snapshot.chunks) {
      if (counted.insert(chunk.get()).second) bytes += chunk->Bytes();
    }
  };
  for (const UndoSnapshot& snapshot : undo_) count(snapshot);
  for (const UndoSnapshot& snapshot : redo_) count(snapshot);
  return bytes;
}

void RestoreNames(const UndoSnapshot& snapshot, EditScope scope, NameList& names) {
  const std::vector<std::u16string>& originals = *snapshot.originalNames;
  names.resize(originals.size());
  std::size_t line = 0;
  for (const auto& chunk : snapshot.chunks) {
    std::uint32_t start = 0;
    for (std::size_t i = 0; i < chunk->LineCount(); ++i, ++line) {
      NameEntry& entry = names[line];
      const std::u16string_view text = chunk->text;
      entry.originalName = originals[line];
      entry.newName.assign(text.substr(start, chunk->newNameEnd[i] - start));
      if (chunk->lineTextKept[i]) {
        entry.lineText.assign(text.substr(chunk->newNameEnd[i], chunk->lineTextEnd[i] - chunk->newNameEnd[i]));
      } else {
        entry.lineText.assign(ScopedPart(entry.newName, scope));
      }
      entry.errorMark = chunk->errorMark[i];
      start = chunk->lineTextEnd[i];
    }
  }
}

}  // namespace nomvarix
