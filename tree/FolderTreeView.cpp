#include "tree/FolderTreeView.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include <wx/artprov.h>
#include <wx/imaglist.h>

#include "platform/FileSystem.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "resources/CommandIds.h"
#include "tree/TreeFolders.h"
#include "tree/TreePath.h"
#include "controls/WxText.h"

namespace nomvarix {
namespace {

enum Icon { kDriveIcon, kFolderIcon, kOpenFolderIcon };

constexpr int kTreeFontStep = 2;

/// A folder's name as the file system gives it. The item's text shows it, and cannot hold bytes
/// that are not UTF-8.
class FolderName final : public wxTreeItemData {
 public:
  explicit FolderName(std::u16string name) : name_(std::move(name)) {}
  const std::u16string& Name() const { return name_; }

 private:
  std::u16string name_;
};

}  // namespace

CFolderTreeView::CFolderTreeView(wxWindow* parent, const FileSystem& fileSystem, SettingsStore& settings,
                                 FolderSelected onFolderSelected)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE),
      fileSystem_(fileSystem),
      settings_(settings),
      onFolderSelected_(std::move(onFolderSelected)) {
  const wxSize iconSize = FromDIP(wxSize(16, 16));
  auto* images = new wxImageList(iconSize.x, iconSize.y, true, 3);
  for (const char* art : {wxART_HARDDISK, wxART_FOLDER, wxART_FOLDER_OPEN}) {
    images->Add(wxArtProvider::GetBitmap(art, wxART_OTHER, iconSize));
  }
  AssignImageList(images);

  const int initial = std::max(GetFont().GetPixelSize().y, 1);
  fontSize_ = std::clamp(static_cast<int>(settings.ReadInteger(settings::kTreeFontSize, static_cast<std::uint32_t>(initial))),
                         static_cast<int>(settings::kTreeFontSizeMin), static_cast<int>(settings::kTreeFontSizeMax));
  if (fontSize_ != initial) ApplyFontSize();
  FillRoots();

  Bind(wxEVT_TREE_ITEM_EXPANDING, [this](wxTreeEvent& event) {
    // Read again at every expansion, so that folders made meanwhile show.
    FillChildren(event.GetItem());
  });
  Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent& event) {
    if (event.GetItem().IsOk() && onFolderSelected_) onFolderSelected_(PathOf(event.GetItem()));
  });
  Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& event) {
    if (!event.ControlDown()) {
      event.Skip();
      return;
    }
    ChangeFontSize(event.GetWheelRotation() > 0 ? kTreeFontStep : -kTreeFontStep);
  });
}

void CFolderTreeView::FillRoots() {
  DeleteAllItems();
  const wxTreeItemId top = AddRoot(wxEmptyString);
  for (const std::u16string& root : fileSystem_.FolderRoots()) {
    const wxTreeItemId item = AppendItem(top, ToWx(root), kDriveIcon, kDriveIcon, new FolderName(root));
    AddPlaceholderIfNeeded(item, root);
  }
}

void CFolderTreeView::AddPlaceholderIfNeeded(const wxTreeItemId& item, const std::u16string& path) {
  if (fileSystem_.MayHaveSubfolder(path)) AppendItem(item, wxEmptyString);
}

void CFolderTreeView::FillChildren(const wxTreeItemId& item) {
  const std::u16string path = PathOf(item);
  std::vector<std::u16string> folders;
  fileSystem_.ForEachEntry(path, [&](const DirEntry& entry) {
    if (TreeListsFolder(entry)) folders.emplace_back(entry.name);
  });
  SortTreeFolders(folders);
  const std::vector<wxTreeItemId> kept = KeepChildren(item, folders);
  std::size_t next = 0;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    if (next < kept.size() && NameOf(kept[next]) == folders[i]) {
      if (!ItemHasChildren(kept[next])) AddPlaceholderIfNeeded(kept[next], path + folders[i]);
      ++next;
      continue;
    }
    const wxTreeItemId child =
        InsertItem(item, i, ToWx(folders[i]), kFolderIcon, kOpenFolderIcon, new FolderName(folders[i]));
    AddPlaceholderIfNeeded(child, path + folders[i]);
  }
  // A large folder got its button before it was known to hold folders; it loses it now.
  if (folders.empty()) SetItemHasChildren(item, false);
}

std::vector<wxTreeItemId> CFolderTreeView::KeepChildren(const wxTreeItemId& item,
                                                        const std::vector<std::u16string>& folders) {
  std::unordered_map<std::u16string, std::size_t> positions;
  for (std::size_t i = 0; i < folders.size(); ++i) positions.emplace(folders[i], i);
  std::vector<wxTreeItemId> children;
  const std::vector<std::u16string> names = ChildNames(item, children);
  std::vector<wxTreeItemId> kept;
  std::size_t last = 0;
  bool inOrder = true;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const auto found = positions.find(names[i]);
    if (found == positions.end()) {
      Delete(children[i]);  // gone from the disk, or the placeholder
      continue;
    }
    inOrder = inOrder && (kept.empty() || found->second > last);
    last = found->second;
    kept.push_back(children[i]);
  }
  if (inOrder) return kept;
  DeleteChildren(item);
  return {};
}

std::u16string CFolderTreeView::PathOf(const wxTreeItemId& item) const {
  std::vector<std::u16string> texts;
  for (wxTreeItemId at = item; at.IsOk() && at != GetRootItem(); at = GetItemParent(at)) {
    texts.push_back(NameOf(at));
  }
  std::reverse(texts.begin(), texts.end());
  return TreeItemPath(texts);
}

std::u16string CFolderTreeView::NameOf(const wxTreeItemId& item) const {
  const auto* name = static_cast<const FolderName*>(GetItemData(item));
  return name ? name->Name() : std::u16string();
}

std::vector<std::u16string> CFolderTreeView::ChildNames(const wxTreeItemId& parent,
                                                        std::vector<wxTreeItemId>& items) const {
  std::vector<std::u16string> names;
  items.clear();
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk(); child = GetNextChild(parent, cookie)) {
    items.push_back(child);
    names.push_back(NameOf(child));
  }
  return names;
}

bool CFolderTreeView::SelectPath(std::u16string_view path) {
  if (path.empty() || fileSystem_.KindOf(path) != PathKind::Folder) return false;
  std::vector<wxTreeItemId> items;
  wxTreeItemId at = GetRootItem();
  for (const std::u16string& component : TreePathComponents(path)) {
    if (at != GetRootItem()) Expand(at);
    int match = MatchingItem(ChildNames(at, items), component);
    if (match < 0 && at != GetRootItem()) {
      // Made after this folder was filled: look again, rather than fail on a folder that exists.
      FillChildren(at);
      match = MatchingItem(ChildNames(at, items), component);
    }
    if (match < 0) return false;
    at = items[static_cast<std::size_t>(match)];
  }
  if (at == GetRootItem()) return false;
  SelectItem(at);
  EnsureVisible(at);
  return true;
}

bool CFolderTreeView::ForwardsToEditor(int command) {
  switch (command) {
    case cmd::kApplyChanges:
    case cmd::kValidateChanges:
    case cmd::kRevertLastChanges:
    case cmd::kFind:
    case cmd::kExplorerIntegration:
    case cmd::kKeepEditsBetweenRuns:
    case cmd::kRenameHistory:
    case cmd::kKeepRenameHistory:
    case cmd::kSetFilter:
    case cmd::kSaveMacro:
    case cmd::kLoadMacro:
    case cmd::kAi:
    // The check marks of "Sort Case Sensitive" and "Sort Numbers by Value" are the editor's; so are
    // the commands, which would otherwise show enabled and do nothing.
    case cmd::kSortCaseSensitive:
    case cmd::kSortNumbersByValue:
      return true;
    default:
      return false;
  }
}

bool CFolderTreeView::HandleOwnCommand(wxEvent& event) {
  if (!cmd::IsCommandMenuId(event.GetId())) return false;
  const int command = cmd::CommandOfMenuId(event.GetId());
  if (command != cmd::kIncreaseFont && command != cmd::kDecreaseFont) return false;
  if (event.GetEventType() == wxEVT_UPDATE_UI) {
    static_cast<wxUpdateUIEvent&>(event).Enable(true);
    return true;
  }
  if (event.GetEventType() != wxEVT_MENU) return false;
  ChangeFontSize(command == cmd::kIncreaseFont ? kTreeFontStep : -kTreeFontStep);
  return true;
}

void CFolderTreeView::ChangeFontSize(int step) {
  if (step > 0 && fontSize_ > static_cast<int>(settings::kTreeFontSizeMax) - 1) return;
  if (step < 0 && fontSize_ <= static_cast<int>(settings::kTreeFontSizeMin)) return;
  fontSize_ += step;
  ApplyFontSize();
  settings_.WriteInteger(settings::kTreeFontSize, static_cast<std::uint32_t>(fontSize_));
}

void CFolderTreeView::ApplyFontSize() {
  wxFont font = GetFont();
  font.SetPixelSize(wxSize(0, fontSize_));
  SetFont(font);
}

}  // namespace nomvarix
