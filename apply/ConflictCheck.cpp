#include "apply/ConflictCheck.h"

#include <unordered_map>

#include "text/AsciiCase.h"

namespace nomvarix {

void CheckConflicts(const NameList& names, ConflictLinks& links) {
  links.Clear();
  std::unordered_map<std::u16string, std::int64_t> newNameLines;
  std::unordered_map<std::u16string, std::int64_t> originalNameLines;
  newNameLines.reserve(names.size());
  originalNameLines.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const NameEntry& entry = names[i];
    const auto line = static_cast<std::int64_t>(i);
    std::u16string foldedNew = FoldAscii(entry.newName);
    std::u16string foldedOriginal = FoldAscii(entry.originalName);
    if (foldedOriginal != foldedNew) {
      if (const auto taken = originalNameLines.find(foldedNew); taken != originalNameLines.end()) {
        links.diskNameLinks.push_back({taken->second, line, entry.newName});
      }
    }
    if (const auto [first, inserted] = newNameLines.try_emplace(std::move(foldedNew), line); !inserted) {
      links.duplicateLinks.push_back({first->second, line, entry.newName});
    }
    originalNameLines.try_emplace(std::move(foldedOriginal), line);
  }
}

}  // namespace nomvarix
