#pragma once

#include <string>
#include <string_view>

#include <wx/frame.h>

#include "app/rules/RecentFolderList.h"

class wxSplitterWindow;

namespace nomvarix {

class CFolderTreeView;
class CNomvarixView;
class FileSystem;
class SettingsStore;

/// The main window, titled "Nomvarix" at all times: the folder pane on the left and the editor on
/// the right of a splitter, the main menu, and a status bar with the message pane and the CAP, NUM
/// and SCRL indicators.
class CMainFrame final : public wxFrame {
 public:
  CMainFrame(FileSystem& fileSystem, SettingsStore& settings);

  CNomvarixView* EditorView() const { return view_; }
  CFolderTreeView* FolderPane() const { return tree_; }
  wxSplitterWindow* Splitter() const { return splitter_; }
  const RecentFolderList& RecentFolders() const { return recent_; }

  /// Opens the folder chosen by the start path (empty: the "LastPath" setting), if any.
  void OpenStartFolder(std::u16string_view startPath);
  /// Selects a folder in the folder pane, which loads it (see ShowSelectedFolder). False, changing
  /// nothing, when `path` is empty, no folder, or not reachable from the pane's roots.
  bool SelectPath(std::u16string_view path);
  /// Opens entry `index` of the recent list; one that cannot be opened is reported and removed.
  bool OpenRecentFolder(std::size_t index);

 private:
  bool TryBefore(wxEvent& event) override;
  bool TryAfter(wxEvent& event) override;
  void CreateStatusPanes();
  /// Keeps every button of the editor's command strip on the screen: the window may not get
  /// narrower, nor the folder pane wider, than leaves the editor the width the strip needs.
  void KeepStripInReach();
  /// Sets the least window width the strip and the folder pane need, and the window's size, both
  /// within the screen the window is on.
  void FitToScreen();
  /// The sash position beyond which the editor pane would be too narrow for the strip.
  int LargestSashPosition() const;
  void UpdateKeyIndicators();
  void UpdateRecentMenu();
  void BindCommands();
  /// F6 and Shift+F6: the focus moves between the folder pane and the editor.
  void FocusOtherPane();
  /// What selecting a folder in the pane does: stores "LastPath", keeps the edits of the folder
  /// left, loads the folder, brings back its edits and puts it first in the recent list.
  void ShowSelectedFolder(const std::u16string& folder);
  bool TreeHasFocus() const;

  FileSystem& fileSystem_;
  SettingsStore& settings_;
  RecentFolderList recent_;
  wxSplitterWindow* splitter_ = nullptr;
  int editorMinimumWidth_ = 0;  ///< the editor pane's whole width that the strip needs
  int wantedSash_ = 0;          ///< the folder pane's width when the window has room for it
  CFolderTreeView* tree_ = nullptr;
  CNomvarixView* view_ = nullptr;
};

}  // namespace nomvarix
