#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <wx/treectrl.h>

namespace nomvarix {

class FileSystem;
class SettingsStore;

/// The folder pane: the roots of the file system and, read again each time they are expanded, their
/// folders in the tree's order (tree/TreeFolders.h). Selecting a folder hands its full path (ending with a separator)
/// to `onFolderSelected`. It has its own font size ("TreeFontSize", 8..32).
class CFolderTreeView final : public wxTreeCtrl {
 public:
  using FolderSelected = std::function<void(const std::u16string& path)>;

  CFolderTreeView(wxWindow* parent, const FileSystem& fileSystem, SettingsStore& settings, FolderSelected onFolderSelected);

  /// Expands the tree down to `path` and selects it, finding each component regardless of ASCII
  /// letter case. False, leaving the selection alone, when a component is not found.
  bool SelectPath(std::u16string_view path);
  /// The full path of an item, ending with a separator.
  std::u16string PathOf(const wxTreeItemId& item) const;
  int FontSize() const { return fontSize_; }

  /// The tree's own commands (the font size) and their queries; true when handled.
  bool HandleOwnCommand(wxEvent& event);
  /// Whether the editor gets `command` and its query while the tree has the focus.
  static bool ForwardsToEditor(int command);

 private:
  /// The name of a root or folder item as the file system gives it; empty for a placeholder.
  std::u16string NameOf(const wxTreeItemId& item) const;
  /// The names of `parent`'s children, and in `items` the children themselves.
  std::vector<std::u16string> ChildNames(const wxTreeItemId& parent, std::vector<wxTreeItemId>& items) const;
  void FillRoots();
  /// Lists `item`'s folders under it, keeping the items of those it lists already.
  void FillChildren(const wxTreeItemId& item);
  /// Deletes the children of `item` that are not among `folders` (in the tree's order) and returns
  /// the others; deletes them all when they are no longer in that order.
  std::vector<wxTreeItemId> KeepChildren(const wxTreeItemId& item, const std::vector<std::u16string>& folders);
  /// Gives `item` the empty placeholder child when its folder has subfolders.
  void AddPlaceholderIfNeeded(const wxTreeItemId& item, const std::u16string& path);
  void ChangeFontSize(int step);
  void ApplyFontSize();

  const FileSystem& fileSystem_;
  SettingsStore& settings_;
  FolderSelected onFolderSelected_;
  int fontSize_;
};

}  // namespace nomvarix
