#include "apply/KeptEdits.h"

#include <cstdint>

namespace nomvarix {

bool IsSameKeptFile(const FileStamp& kept, const FileStamp& now, IdentityPermanence permanence) {
  if (permanence == IdentityPermanence::Lasting && kept.identity != now.identity) return false;
  return CompareAttributes(kept.attributes, now.attributes) == AttributeMatch::Same;
}

std::u16string KeptEditsFileName(std::u16string_view folder) {
  // FNV-1a over the path as the file writes it: the same on every platform and in every run.
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char byte : EncodeSavedName(folder)) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3ULL;
  }
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  std::u16string name;
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xF];
  return name + u".json";
}

std::vector<SavedEdit> KeptEdits::Take(std::u16string_view folder, std::string_view fileText) {
  return Take(folder, ReadSavedEdits(fileText));
}

std::vector<SavedEdit> KeptEdits::Take(std::u16string_view folder, SavedEditsContent content) {
  const std::u16string key(folder);
  const auto found = content.folders.find(key);
  if (found == content.folders.end()) {
    known_.erase(key);
    return {};
  }
  known_[key] = EditFingerprints(found->second);
  return std::move(found->second);
}

void KeptEdits::Drop(std::u16string_view folder) { dropped_.emplace(folder); }

std::set<std::u16string> KeptEdits::ChangedFolders(const FolderEdits& mine) const {
  std::set<std::u16string> changed = dropped_;
  for (const auto& [folder, edits] : mine) {
    const auto in = known_.find(folder);
    if (in == known_.end() || !in->second.Remembers(edits)) changed.insert(folder);
  }
  for (const auto& [folder, edits] : known_) {
    if (!mine.contains(folder)) changed.insert(folder);
  }
  return changed;
}

std::optional<std::string> KeptEdits::MergeFolder(std::u16string_view folder, std::string_view fileText,
                                                  const std::vector<SavedEdit>* edits) const {
  SavedEditsContent content = ReadSavedEdits(fileText);
  if (content.kind == SavedEditsContent::Kind::Newer) return std::nullopt;
  const std::u16string key(folder);
  std::vector<SavedEdit> merged;
  if (!dropped_.contains(key)) {
    const auto known = known_.find(key);
    const EditFingerprints none;
    const EditFingerprints& base = known == known_.end() ? none : known->second;
    const EditFingerprints own = edits ? EditFingerprints(*edits) : EditFingerprints();
    const auto changedHere = [&](std::u16string_view name) { return own.EditOf(name) != base.EditOf(name); };
    if (const auto theirs = content.folders.find(key); theirs != content.folders.end()) {
      for (SavedEdit& edit : theirs->second) {
        if (!changedHere(edit.original)) merged.push_back(std::move(edit));
      }
    }
    if (edits) {
      for (const SavedEdit& edit : *edits) {
        if (changedHere(edit.original)) merged.push_back(edit);
      }
    }
  } else if (edits) {
    merged = *edits;
  }
  if (merged.empty()) {
    content.folders.erase(key);
  } else {
    content.folders[key] = std::move(merged);
  }
  return WriteSavedEdits(content.folders);
}

void KeptEdits::WrittenFolder(std::u16string_view folder, const std::vector<SavedEdit>* edits) {
  const std::u16string key(folder);
  if (edits && !edits->empty()) {
    known_[key] = EditFingerprints(*edits);
  } else {
    known_.erase(key);
  }
  dropped_.erase(key);
}

}  // namespace nomvarix
