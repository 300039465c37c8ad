#include "apply/KeptEdits.h"

namespace nomvarix {

std::vector<PendingEditMemory::Pair> KeptEdits::Take(std::u16string_view folder, std::string_view fileText) {
  SavedEditsContent content = ReadSavedEdits(fileText);
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
  for (const auto& [folder, pairs] : mine) {
    const auto in = known_.find(folder);
    if (in == known_.end() || in->second != pairs) changed.insert(folder);
  }
  for (const auto& [folder, pairs] : known_) {
    if (!mine.contains(folder)) changed.insert(folder);
  }
  return changed;
}

std::optional<std::string> KeptEdits::Merge(std::string_view fileText, const FolderEdits& mine) const {
  const std::set<std::u16string> changed = ChangedFolders(mine);
  if (changed.empty()) return std::nullopt;
  SavedEditsContent content = ReadSavedEdits(fileText);
  if (content.kind == SavedEditsContent::Kind::Newer) return std::nullopt;
  // A damaged file holds nothing that can be kept: it is written anew.
  for (const std::u16string& folder : changed) {
    const auto own = mine.find(folder);
    if (own == mine.end()) {
      content.folders.erase(folder);
    } else {
      content.folders[folder] = own->second;
    }
  }
  return WriteSavedEdits(content.folders);
}

void KeptEdits::Written(FolderEdits mine) {
  known_ = std::move(mine);
  dropped_.clear();
}

}  // namespace nomvarix
