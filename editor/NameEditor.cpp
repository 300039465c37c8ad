#include "editor/NameEditor.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Heap blocks come in steps of 16 bytes, 8 of them the heap's own: a name kept with room for at
/// least kTypingRoom more units, up to the end of its block, costs 64 bytes a line more, and the
/// first 32 characters typed over every line after a load then move no text to new memory. Text
/// outgrowing its block on every line at once takes two new blocks a line, and the system hands
/// out each new page of them on its first touch: that made characters 17 to 24 of a prefix
/// typed over 100,000 lines cost two to three times the others.
constexpr std::size_t kTypingRoom = 32;
constexpr std::size_t kHeapStep = 16;
constexpr std::size_t kHeapHeader = 8;

void AssignWithRoom(std::u16string& to, std::u16string_view from) {
  const std::size_t bytes = (from.size() + kTypingRoom + 1) * sizeof(char16_t) + kHeapHeader;
  const std::size_t block = (bytes + kHeapStep - 1) / kHeapStep * kHeapStep;
  to.reserve((block - kHeapHeader) / sizeof(char16_t) - 1);
  to.assign(from);
}

/// Thrown out of a folder listing to end it when the user cancelled.
struct ListingCancelled {};

/// A listed name is put in the listing's buffer after its file's identity, so that once sorted it
/// finds the identity beside it.
constexpr std::size_t kIdentityUnits = 2 * sizeof(std::uint64_t) / sizeof(char16_t);

void AppendIdentity(std::u16string& buffer, const FileIdentity& identity) {
  const std::uint64_t words[2] = {identity.volume, identity.file};
  char16_t units[kIdentityUnits];
  std::memcpy(units, words, sizeof words);
  buffer.append(units, kIdentityUnits);
}

/// The identity put before `name` in the listing's buffer.
FileIdentity IdentityBefore(std::u16string_view name) {
  std::uint64_t words[2];
  std::memcpy(words, name.data() - kIdentityUnits, sizeof words);
  return {words[0], words[1]};
}

}  // namespace

bool NameEditor::IsChecked(ScopeButton button) const {
  return button == ScopeButton::Name ? nameChecked_ : extensionChecked_;
}

void NameEditor::LayOutCells(std::size_t line, std::vector<GlyphCell>& cells) const {
  LayOutCells(line, cells, 0, std::numeric_limits<std::size_t>::max());
}

void NameEditor::LayOutCells(std::size_t line, std::vector<GlyphCell>& cells, std::size_t from,
                             std::size_t count) const {
  cells.clear();
  if (line >= names_.size()) return;
  const NameEntry& entry = names_[line];
  const std::u16string_view compared = ScopedPart(entry.originalName, editScope_);
  const std::u16string_view text = entry.lineText;
  if (from >= text.size()) return;
  const std::size_t end = from + std::min(count, text.size() - from);
  cells.resize(end - from);
  const std::int32_t width = metrics_.charWidth;
  for (std::size_t i = from; i < end; ++i) {
    const bool changed = i >= compared.size() || text[i] != compared[i];
    cells[i - from] = GlyphCell{text[i], false, changed, static_cast<std::int32_t>(i) * width};
  }
  const auto index = static_cast<std::int32_t>(line);
  if (!LineHasMarks(index)) return;
  const auto start = std::max(static_cast<std::size_t>(marked_.from), from);
  const auto stop = std::min(static_cast<std::size_t>(marked_.to), end);
  for (auto column = start; column < stop; ++column) cells[column - from].selected = true;
}

std::vector<GlyphCell> NameEditor::LineCells(std::size_t line) const {
  std::vector<GlyphCell> cells;
  LayOutCells(line, cells);
  return cells;
}

void NameEditor::CommitLineText(std::size_t line, std::size_t shownLength) {
  if (line >= names_.size()) return;
  NameEntry& entry = names_[line];
  ReplaceShownPart(entry.newName, editScope_, shownLength, entry.lineText);
  NoteNewName(line);
  history_.LineChanged(line);
  ForgetLongestLine();
}

void NameEditor::RefreshLineText(std::size_t line) {
  if (line >= names_.size()) return;
  NameEntry& entry = names_[line];
  entry.lineText = ScopedPart(entry.newName, editScope_);
  history_.LineChanged(line);
  ForgetLongestLine();
}

void NameEditor::SetLineText(std::size_t line, std::u16string text) {
  if (line >= names_.size()) return;
  const std::size_t shown = names_[line].lineText.size();
  if (text.size() > kMaxLineLength && text.size() > shown) {
    refusedLines_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  names_[line].lineText = std::move(text);
  CommitLineText(line, shown);
}

void NameEditor::SetNewName(std::size_t line, std::u16string name) {
  if (line >= names_.size()) return;
  if (name.size() > kMaxLineLength) {
    refusedLines_.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  names_[line].newName = std::move(name);
  NoteNewName(line);
  RefreshLineText(line);
}

bool NameEditor::SetNewNames(const std::vector<LineName>& names, UndoStep step) {
  std::unordered_map<std::size_t, const std::u16string*> nameOf;
  for (const LineName& named : names) {
    if (named.line < names_.size()) nameOf[named.line] = &named.name;
  }
  std::erase_if(nameOf, [this](const auto& named) { return names_[named.first].newName == *named.second; });
  if (nameOf.empty()) return false;
  if (step == UndoStep::Take) PushUndo();
  for (const auto& [line, name] : nameOf) SetNewName(line, *name);
  return true;
}

void NameEditor::NoteNewName(std::size_t line) {
  keys_[line] = KeyAfterNewName(names_[line], keys_[line]);
  // Written only when they change: lines edited side by side would otherwise fight over them.
  const auto set = [](std::atomic<bool>& flag, bool value) {
    if (flag.load(std::memory_order_relaxed) != value) flag.store(value, std::memory_order_relaxed);
  };
  set(namesTouched_, true);
  set(keysChanged_, true);
  if (keys_[line].changed) {
    set(anyNameChanged_, true);
    set(anyNameChangedKnown_, true);
  } else if (anyNameChanged_.load(std::memory_order_relaxed)) {
    set(anyNameChangedKnown_, false);  // other lines may still be changed
  }
}

bool NameEditor::AnyNameChanged() const {
  if (!anyNameChangedKnown_) {
    anyNameChanged_ = std::any_of(keys_.begin(), keys_.end(), [](const NameKey& key) { return key.changed; });
    anyNameChangedKnown_ = true;
  }
  return anyNameChanged_;
}

bool NameEditor::SetEditScope(EditScope scope) {
  nameChecked_ = scope != EditScope::Extension;
  extensionChecked_ = scope != EditScope::BaseName;
  if (scope == editScope_) return false;
  // Snapshots hold the lines of the old scope.
  history_.Clear();
  editScope_ = scope;
  for (std::size_t i = 0; i < names_.size(); ++i) RefreshLineText(i);
  selection_ = {};
  caret_ = {};
  marked_ = {};
  return true;
}

bool NameEditor::ToggleScopeButton(ScopeButton button) {
  bool& toggled = button == ScopeButton::Name ? nameChecked_ : extensionChecked_;
  bool& other = button == ScopeButton::Name ? extensionChecked_ : nameChecked_;
  const EditScope onlyToggled = button == ScopeButton::Name ? EditScope::BaseName : EditScope::Extension;
  const EditScope onlyOther = button == ScopeButton::Name ? EditScope::Extension : EditScope::BaseName;
  toggled = !toggled;
  if (toggled) return SetEditScope(other ? EditScope::WholeName : onlyToggled);
  other = true;
  return SetEditScope(onlyOther);
}

bool NameEditor::LoadFolder(const FileSystem& fileSystem, std::u16string_view folder, SortOrder order,
                            const EntryFilter& accepts, WorkProgress& progress, UnlistedFolder unlisted) {
  // The names are listed one after another in one buffer: a name of its own for each would be
  // allocated, and freed again once the lines hold them in their sorted order.
  std::u16string listedNames;
  std::vector<std::pair<std::size_t, std::size_t>> listedAt;  // where each name begins, its length
  std::size_t read = 0;
  folderFileCount_ = 0;
  UnlistedEntries others;  // the entries that are no line
  bool listed = false;
  bool cancelled = false;
  try {
    listed = fileSystem.ForEachEntry(folder, [&](const DirEntry& entry) {
      if (!progress.Advance(++read, 0)) throw ListingCancelled{};
      if (entry.name == u"." || entry.name == u".." || entry.isFolder || entry.isHidden) {
        others.Add(entry.name);
        return;
      }
      ++folderFileCount_;
      if (accepts && !accepts(entry.name)) {
        others.Add(entry.name);
        return;
      }
      AppendIdentity(listedNames, entry.identity);
      listedAt.emplace_back(listedNames.size(), entry.name.size());
      listedNames.append(entry.name);
    });
  } catch (const ListingCancelled&) {
    // A part of the folder is never shown as if it were all of it.
    cancelled = true;
  }
  // A paint while the progress let events through measured the old lines.
  ForgetLongestLine();
  if (!listed && !cancelled && unlisted == UnlistedFolder::KeepsLines) return false;
  unlisted_ = std::move(others);
  ++listGeneration_;
  namesTouched_ = true;
  keysChanged_ = true;
  topLine_ = 0;
  selection_ = {};
  caret_ = {};
  history_.Clear();
  history_.ListReplaced();
  if (!listed) {
    folderFileCount_ = 0;
    unlisted_.Clear();
    names_.clear();
    keys_.clear();
    anyNameChanged_ = false;
    anyNameChangedKnown_ = true;
    currentFolder_.clear();
    return false;
  }
  // The bare names are sorted, and each entry is built once in its place: far cheaper than
  // sorting whole entries.
  std::vector<std::u16string_view> scanned;
  scanned.reserve(listedAt.size());
  for (const auto& [at, length] : listedAt) scanned.emplace_back(listedNames.data() + at, length);
  SortNames(scanned, order);
  // A load always shows whole names.
  editScope_ = EditScope::WholeName;
  nameChecked_ = extensionChecked_ = true;
  // Every entry is replaced, but the old entries' buffers are reused: reloading a large folder
  // (sort commands, Reload) then allocates and frees next to nothing.
  names_.resize(scanned.size());
  keys_.resize(scanned.size());
  for (std::size_t i = 0; i < scanned.size(); ++i) {
    NameEntry& entry = names_[i];
    // A line's three texts lie side by side in memory: an edit of every line runs far faster so.
    entry.originalName.assign(scanned[i]);
    AssignWithRoom(entry.lineText, scanned[i]);
    AssignWithRoom(entry.newName, scanned[i]);
    entry.errorMark = false;
    entry.listedIdentity = IdentityBefore(scanned[i]);
    keys_[i] = KeyOf(entry);
  }
  history_.ListLoaded(names_.size());
  marked_ = {};
  anyNameChanged_ = false;
  anyNameChangedKnown_ = true;
  currentFolder_ = folder;
  return true;
}

void NameEditor::ReplaceLines(NameList lines) {
  history_.ListLeaving(names_);
  names_ = std::move(lines);
  folderFileCount_ = names_.size();
  ++listGeneration_;
  namesTouched_ = true;
  keysChanged_ = true;
  keys_.resize(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) keys_[i] = KeyOf(names_[i]);
  selection_ = {};
  caret_ = {};
  topLine_ = 0;
  history_.ListReplaced();
  ForgetLongestLine();
  marked_ = {};
  anyNameChangedKnown_ = false;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (!ShowsPartOf(names_[i].newName, editScope_, names_[i].lineText)) RefreshLineText(i);
  }
}

std::u16string RefusedLinesMessage(std::size_t count) {
  return FromUtf8(std::to_string(count)) + u" line(s) would have grown beyond " +
         FromUtf8(std::to_string(NameEditor::kMaxLineLength)) + u" characters and were left as they were.";
}

}  // namespace nomvarix
