#include "apply/KeptEdits.h"

#include <cstdint>
#include <unordered_map>

namespace nomvarix {
namespace {

const std::vector<SavedEdit>* EditsIn(const FolderEdits& edits, const std::u16string& folder) {
  const auto found = edits.find(folder);
  return found == edits.end() ? nullptr : &found->second;
}

using EditsByName = std::unordered_map<std::u16string_view, const SavedEdit*>;

EditsByName ByName(const std::vector<SavedEdit>* edits) {
  EditsByName byName;
  if (edits) {
    for (const SavedEdit& edit : *edits) byName[edit.original] = &edit;
  }
  return byName;
}

const SavedEdit* Lookup(const EditsByName& edits, std::u16string_view name) {
  const auto found = edits.find(name);
  return found == edits.end() ? nullptr : found->second;
}

bool SameEdit(const SavedEdit* a, const SavedEdit* b) { return a == b || (a && b && *a == *b); }

}  // namespace

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
  known_[key] = found->second;
  return std::move(found->second);
}

void KeptEdits::Drop(std::u16string_view folder) { dropped_.emplace(folder); }

std::set<std::u16string> KeptEdits::ChangedFolders(const FolderEdits& mine) const {
  std::set<std::u16string> changed = dropped_;
  for (const auto& [folder, edits] : mine) {
    const auto in = known_.find(folder);
    if (in == known_.end() || in->second != edits) changed.insert(folder);
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
    const EditsByName base = ByName(EditsIn(known_, key));
    const EditsByName own = ByName(edits);
    const auto changedHere = [&](std::u16string_view name) { return !SameEdit(Lookup(own, name), Lookup(base, name)); };
    if (const std::vector<SavedEdit>* theirs = EditsIn(content.folders, key)) {
      for (const SavedEdit& edit : *theirs) {
        if (!changedHere(edit.original)) merged.push_back(edit);
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
    known_[key] = *edits;
  } else {
    known_.erase(key);
  }
  dropped_.erase(key);
}

}  // namespace nomvarix
