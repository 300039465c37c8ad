#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editor/EditScope.h"
#include "editor/NameEntry.h"
#include "editor/NameSort.h"

namespace nomvarix {

class FileSystem;

/// Decides, after the fixed rules (no ".", "..", folders or hidden files), whether a scanned name
/// gets a line. An empty function accepts every name.
using EntryFilter = std::function<bool(std::u16string_view name)>;

/// The two check-box buttons of the scope strip; at least one is always checked.
enum class ScopeButton { Name, Extension };

/// The lines of the editor and the state that decides what they show: the loaded folder, the edit
/// scope and its two buttons, the character width of the grid and the first visible line.
class NameEditor {
 public:
  const NameList& Names() const { return names_; }
  std::size_t LineCount() const { return names_.size(); }
  EditScope Scope() const { return editScope_; }
  int MinColumn() const { return MinColumnOf(editScope_); }
  bool IsChecked(ScopeButton button) const;
  /// The folder whose files are listed, ending with a separator; empty when nothing is loaded.
  const std::u16string& CurrentFolder() const { return currentFolder_; }
  std::int32_t CharWidth() const { return charWidth_; }
  std::int64_t TopLine() const { return topLine_; }

  void SetTopLine(std::int64_t line) { topLine_ = line; }
  /// Sets the width of one grid cell in pixels and lays out every line again.
  void SetCharWidth(std::int32_t width);

  /// Rebuilds the cells of one line from its lineText; the changed marks compare, position by
  /// position, with the original name's part in the current scope. Out-of-range lines are ignored.
  void LayoutLine(std::size_t line);
  /// Recomputes newName from lineText: the part of newName outside the scope is kept.
  void CommitLineText(std::size_t line);
  /// Sets lineText from newName by the current scope and lays the line out.
  void RefreshLineText(std::size_t line);

  /// The edit every editing operation ends in: new lineText, then CommitLineText and LayoutLine.
  void SetLineText(std::size_t line, std::u16string text);
  /// Sets the full new name from outside (pending edits, AI answers) and refreshes the line.
  void SetNewName(std::size_t line, std::u16string name);

  /// Switches the scope: every line shows the new scope's part of its newName, nothing selected.
  /// Returns false, changing nothing, when `scope` is already in force.
  bool SetEditScope(EditScope scope);
  /// Flips one scope button and applies the scope the two buttons now stand for. Turning off the
  /// only checked button turns the other one on. Returns whether the scope changed.
  bool ToggleScopeButton(ScopeButton button);

  /// Replaces the list by the files of `folder` (a path ending with a separator): folders, hidden
  /// files, "." and ".." and names `accepts` rejects are left out; the list is sorted by `order`;
  /// the scope returns to WholeName with both buttons checked. When the folder cannot be listed the
  /// list stays empty and CurrentFolder() becomes empty; the result is then false.
  bool LoadFolder(const FileSystem& fileSystem, std::u16string_view folder, SortOrder order,
                  const EntryFilter& accepts = {});

 private:
  NameList names_;
  EditScope editScope_ = EditScope::WholeName;
  bool nameChecked_ = true;
  bool extensionChecked_ = true;
  std::u16string currentFolder_;
  std::int32_t charWidth_ = 1;
  std::int64_t topLine_ = 0;
};

}  // namespace nomvarix
