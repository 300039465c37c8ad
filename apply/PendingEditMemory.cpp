#include "apply/PendingEditMemory.h"

#include "editor/NameEditor.h"

namespace nomvarix {

std::vector<PendingEditMemory::Pair> PendingEditMemory::ChangedPairs(const NameList& names) {
  std::vector<Pair> pairs;
  for (const NameEntry& entry : names) {
    if (entry.newName != entry.originalName) pairs.emplace_back(entry.originalName, entry.newName);
  }
  return pairs;
}

void PendingEditMemory::Save(std::u16string_view folder, const NameList& names, const EntryFilter& listed) {
  Set(folder, PairsToSave(folder, names, listed));
}

std::vector<PendingEditMemory::Pair> PendingEditMemory::PairsToSave(std::u16string_view folder, const NameList& names,
                                                                    const EntryFilter& listed) const {
  std::vector<Pair> pairs = ChangedPairs(names);
  std::vector<Pair> hidden = HiddenPairs(folder, listed);
  pairs.insert(pairs.end(), std::make_move_iterator(hidden.begin()), std::make_move_iterator(hidden.end()));
  return pairs;
}

std::vector<PendingEditMemory::Pair> PendingEditMemory::HiddenPairs(std::u16string_view folder,
                                                                    const EntryFilter& listed) const {
  std::vector<Pair> hidden;
  const std::vector<Pair>* pairs = listed ? Find(folder) : nullptr;
  if (!pairs) return hidden;
  for (const Pair& pair : *pairs) {
    if (!listed(pair.first)) hidden.push_back(pair);
  }
  return hidden;
}

void PendingEditMemory::Set(std::u16string_view folder, std::vector<Pair> pairs) {
  if (folder.empty()) return;
  if (pairs.empty()) {
    Forget(folder);
  } else {
    edits_[std::u16string(folder)] = std::move(pairs);
  }
}

bool PendingEditMemory::Restore(std::u16string_view folder, NameEditor& editor) const {
  const std::vector<Pair>* pairs = Find(folder);
  if (!pairs) return false;
  std::unordered_map<std::u16string_view, std::u16string_view> newNameOf;
  newNameOf.reserve(pairs->size());
  for (const auto& [original, renamed] : *pairs) newNameOf[original] = renamed;
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    const auto found = newNameOf.find(editor.Names()[line].originalName);
    if (found != newNameOf.end()) editor.SetNewName(line, std::u16string(found->second));
  }
  return true;
}

void PendingEditMemory::Forget(std::u16string_view folder) { edits_.erase(std::u16string(folder)); }

const std::vector<PendingEditMemory::Pair>* PendingEditMemory::Find(std::u16string_view folder) const {
  const auto it = edits_.find(std::u16string(folder));
  return it == edits_.end() ? nullptr : &it->second;
}

}  // namespace nomvarix
