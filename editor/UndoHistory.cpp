#include "editor/UndoHistory.h"

#include <algorithm>
#include <unordered_set>

namespace nomvarix {

std::size_t SavedChunk::Bytes() const {
  return sizeof(SavedChunk) + narrowText.capacity() + wideText.capacity() * sizeof(char16_t) +
         (newNameEnd.capacity() + lineTextEnd.capacity()) * sizeof(std::uint32_t) +
         (lineTextKept.capacity() + errorMark.capacity()) / 8;
}

void SavedChunk::CopyText(std::uint32_t begin, std::uint32_t end, std::u16string& out) const {
  if (narrowText.empty()) {
    out.assign(std::u16string_view(wideText).substr(begin, end - begin));
    return;
  }
  out.resize(end - begin);
  for (std::uint32_t i = begin; i < end; ++i) out[i - begin] = static_cast<unsigned char>(narrowText[i]);
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

namespace {

bool FitsInBytes(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t u) { return u < 0x100; });
}

}  // namespace

std::shared_ptr<const SavedChunk> UndoHistory::SaveChunk(const State& state, std::size_t chunk) const {
  auto saved = std::make_shared<SavedChunk>();
  const std::size_t first = chunk * kChunkLines;
  const std::size_t last = std::min(first + kChunkLines, state.names.size());
  std::size_t length = 0;
  bool narrow = true;
  saved->lineTextKept.resize(last - first);
  for (std::size_t i = first; i < last; ++i) {
    const NameEntry& entry = state.names[i];
    const bool kept = entry.lineText != ScopedPart(entry.newName, state.scope);
    saved->lineTextKept[i - first] = kept;
    length += entry.newName.size() + (kept ? entry.lineText.size() : 0);
    narrow = narrow && FitsInBytes(entry.newName) && (!kept || FitsInBytes(entry.lineText));
  }
  // An empty narrow text means the wide one is used; a chunk of empty names has no text at all.
  narrow = narrow && length > 0;
  const auto append = [&](std::u16string_view text) {
    if (narrow) {
      for (char16_t u : text) saved->narrowText.push_back(static_cast<char>(u));
    } else {
      saved->wideText += text;
    }
  };
  (narrow ? saved->narrowText.reserve(length) : saved->wideText.reserve(length));
  std::uint32_t end = 0;
  for (std::size_t i = first; i < last; ++i) {
    const NameEntry& entry = state.names[i];
    append(entry.newName);
    end += static_cast<std::uint32_t>(entry.newName.size());
    saved->newNameEnd.push_back(end);
    if (saved->lineTextKept[i - first]) {
      append(entry.lineText);
      end += static_cast<std::uint32_t>(entry.lineText.size());
    }
    saved->lineTextEnd.push_back(end);
    saved->errorMark.push_back(entry.errorMark);
  }
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

std::optional<UndoSnapshot> UndoHistory::Take(std::deque<UndoSnapshot>& from, std::deque<UndoSnapshot>& to,
                                              const State& current) {
  if (from.empty()) return std::nullopt;
  to.push_back(Capture(current));
  UndoSnapshot snapshot = std::move(from.back());
  from.pop_back();
  return snapshot;
}

std::optional<UndoSnapshot> UndoHistory::TakeUndo(const State& current) { return Take(undo_, redo_, current); }

std::optional<UndoSnapshot> UndoHistory::TakeRedo(const State& current) { return Take(redo_, undo_, current); }

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
      entry.originalName = originals[line];
      chunk->CopyText(start, chunk->newNameEnd[i], entry.newName);
      if (chunk->lineTextKept[i]) {
        chunk->CopyText(chunk->newNameEnd[i], chunk->lineTextEnd[i], entry.lineText);
      } else {
        entry.lineText.assign(ScopedPart(entry.newName, scope));
      }
      entry.errorMark = chunk->errorMark[i];
      start = chunk->lineTextEnd[i];
    }
  }
}

}  // namespace nomvarix
