#include "editor/NameEditor.h"

#include <algorithm>

#include "platform/FileSystem.h"

namespace nomvarix {
namespace {

/// Thrown out of a folder listing to end it when the user cancelled.
struct ListingCancelled {};

}  // namespace

bool NameEditor::IsChecked(ScopeButton button) const {
  return button == ScopeButton::Name ? nameChecked_ : extensionChecked_;
}

void NameEditor::LayoutLine(std::size_t line) { LayoutLineFrom(line, 0); }

void NameEditor::LayoutLineFrom(std::size_t line, std::size_t column) {
  if (line >= names_.size()) return;
  NameEntry& entry = names_[line];
  const std::u16string_view compared = ScopedPart(entry.originalName, editScope_);
  const std::u16string_view text = entry.lineText;
  entry.cells.resize(text.size());
  GlyphCell* cells = entry.cells.data();
  const std::int32_t width = metrics_.charWidth;
  // Two plain loops (the part that has an original character to compare with, then the rest)
  // that the compiler can keep tight: this runs for every line of a column edit.
  const std::size_t compare = std::min(text.size(), compared.size());
  for (std::size_t i = column; i < compare; ++i) {
    cells[i] = GlyphCell{text[i], false, text[i] != compared[i], static_cast<std::int32_t>(i) * width};
  }
  for (std::size_t i = std::max(column, compare); i < text.size(); ++i) {
    cells[i] = GlyphCell{text[i], false, true, static_cast<std::int32_t>(i) * width};
  }
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
  LayoutLine(line);
}

void NameEditor::SetLineText(std::size_t line, std::u16string text) {
  if (line >= names_.size()) return;
  const std::size_t shown = names_[line].lineText.size();
  names_[line].lineText = std::move(text);
  CommitLineText(line, shown);
  LayoutLine(line);
}

void NameEditor::SetNewName(std::size_t line, std::u16string name) {
  if (line >= names_.size()) return;
  names_[line].newName = std::move(name);
  NoteNewName(line);
  RefreshLineText(line);
}

void NameEditor::NoteNewName(std::size_t line) {
  keys_[line] = KeyAfterNewName(names_[line], keys_[line]);
  // Written only when they change: lines edited side by side would otherwise fight over them.
  const auto set = [](std::atomic<bool>& flag, bool value) {
    if (flag.load(std::memory_order_relaxed) != value) flag.store(value, std::memory_order_relaxed);
  };
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
  if (scope == editScope_) return false;
  // Snapshots hold the lines of the old scope.
  history_.Clear();
  editScope_ = scope;
  for (std::size_t i = 0; i < names_.size(); ++i) RefreshLineText(i);
  selection_ = {};
  caret_ = {};
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
                            const EntryFilter& accepts, WorkProgress& progress) {
  ++listGeneration_;
  topLine_ = 0;
  selection_ = {};
  caret_ = {};
  history_.Clear();
  history_.ListReplaced();
  std::vector<std::u16string> scanned;
  std::size_t read = 0;
  bool listed = false;
  try {
    listed = fileSystem.ForEachEntry(folder, [&](const DirEntry& entry) {
      if (!progress.Advance(++read, 0)) throw ListingCancelled{};
      if (entry.name == u"." || entry.name == u".." || entry.isFolder || entry.isHidden) return;
      if (accepts && !accepts(entry.name)) return;
      scanned.emplace_back(entry.name);
    });
  } catch (const ListingCancelled&) {
    // A part of the folder is never shown as if it were all of it.
  }
  // A paint while the progress let events through measured the old lines.
  ForgetLongestLine();
  if (!listed) {
    names_.clear();
    keys_.clear();
    anyNameChanged_ = false;
    anyNameChangedKnown_ = true;
    currentFolder_.clear();
    return false;
  }
  // The bare names are sorted, and each entry is built once in its place: far cheaper than
  // sorting whole entries.
  SortNames(scanned, order);
  // The scope is reset before the lines are laid out, so that their changed marks compare against
  // the scope the lines are shown in.
  editScope_ = EditScope::WholeName;
  nameChecked_ = extensionChecked_ = true;
  // Every entry is replaced, but the old entries' buffers are reused: reloading a large folder
  // (sort commands, Reload) then allocates and frees next to nothing.
  names_.resize(scanned.size());
  keys_.resize(scanned.size());
  for (std::size_t i = 0; i < scanned.size(); ++i) {
    NameEntry& entry = names_[i];
    entry.lineText.assign(scanned[i]);
    entry.newName.assign(scanned[i]);
    entry.originalName.swap(scanned[i]);
    entry.errorMark = false;
    keys_[i] = KeyOf(entry);
    LayoutLine(i);
  }
  anyCellMarked_ = false;  // every line was laid out afresh
  anyNameChanged_ = false;
  anyNameChangedKnown_ = true;
  currentFolder_ = folder;
  return true;
}

void NameEditor::ReplaceLines(NameList lines) {
  names_ = std::move(lines);
  ++listGeneration_;
  keys_.resize(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) keys_[i] = KeyOf(names_[i]);
  selection_ = {};
  caret_ = {};
  topLine_ = 0;
  history_.ListReplaced();
  ForgetLongestLine();
  anyCellMarked_ = false;
  anyNameChangedKnown_ = false;
  for (std::size_t i = 0; i < names_.size(); ++i) RefreshLineText(i);
}

}  // namespace nomvarix
