#pragma once

#include <memory>
#include <string>

#include <wx/vscroll.h>

#include "session/EditorSession.h"
#include "view/CommandTable.h"

namespace nomvarix {

class Clipboard;
class FileSystem;
class SettingsStore;

/// The editor pane: one row per listed file, the name on disk beside the editable new name.
/// It owns the editor session and carries out the editor's commands.
class CNomvarixView final : public wxVScrolledWindow {
 public:
  CNomvarixView(wxWindow* parent, FileSystem& fileSystem, SettingsStore& settings);
  ~CNomvarixView() override;

  const EditorSession& Session() const { return session_; }

  /// What selecting `folder` in the tree does to the editor: the edits of the folder left are
  /// kept, `folder` (ending with a separator) is loaded and its remembered edits come back.
  void ShowFolder(const std::u16string& folder);

  /// Carries out a menu command, or answers its enable/check query, when the view handles it.
  bool HandleCommandEvent(wxEvent& event);

 private:
  wxCoord OnGetRowHeight(size_t row) const override;
  void OnPaint(wxPaintEvent& event);
  void AddCommands();
  void ConfirmReload();
  void Run(void (EditorSession::*command)());
  void AfterListChanged();
  void AfterEdit();

  std::unique_ptr<Clipboard> clipboard_;
  EditorSession session_;
  CommandTable commands_;
  wxFont nameFont_;
  int lineHeight_ = 0;
};

}  // namespace nomvarix
