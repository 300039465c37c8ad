#include "app/MainFrame.h"

#include <algorithm>

#include <wx/display.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "app/rules/StartFolder.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "resources/Accelerators.h"
#include "resources/AppIcon.h"
#include "resources/CommandIds.h"
#include "resources/MainMenu.h"
#include "tree/FolderTreeView.h"
#include "view/NomvarixView.h"
#include "view/ViewGeometry.h"
#include "controls/WxText.h"

namespace nomvarix {
namespace {

/// The folder pane's first width and the least it gives way to, at 96 dots per inch.
constexpr int kFolderPaneWidth = 250;
constexpr int kFolderPaneLeast = 120;
constexpr int kRecentMenuPosition = 7;  // the "Recent File" placeholder in the File menu
constexpr int kRecentFolderLast = cmd::kRecentFolderFirst + static_cast<int>(RecentFolderList::kCapacity) - 1;
constexpr int kRecentMenuFirst = cmd::MenuIdOf(cmd::kRecentFolderFirst);
constexpr int kRecentMenuLast = cmd::MenuIdOf(kRecentFolderLast);

struct KeyIndicator {
  wxKeyCode key;
  const char* text;
};
constexpr KeyIndicator kKeyIndicators[] = {{WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}};


}  // namespace

CMainFrame::CMainFrame(FileSystem& fileSystem, SettingsStore& settings)
    : wxFrame(nullptr, wxID_ANY, "Nomvarix", wxDefaultPosition, wxSize(1200, 740)),
      fileSystem_(fileSystem),
      settings_(settings),
      recent_(settings) {
  SetIcons(AppIcons());
  // Wide enough for the editor's command strip beside its scope buttons at the default font.
  SetSize(FromDIP(wxSize(1200, 740)));
  SetMenuBar(CreateMainMenu());
  CreateStatusPanes();

  splitter_ = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                   wxSP_LIVE_UPDATE | wxSP_3DSASH);
  splitter_->SetSashGravity(0.0);
  tree_ = new CFolderTreeView(splitter_, fileSystem_, settings_,
                              [this](const std::u16string& folder) { ShowSelectedFolder(folder); });
  view_ = new CNomvarixView(splitter_, fileSystem_, settings_);
  wantedSash_ = ScaledLength(kFolderPaneWidth, view_->Dpi());
  splitter_->SplitVertically(tree_, view_, wantedSash_);
  KeepStripInReach();

  SetAcceleratorTable(CreateAccelerators());
  BindCommands();
  UpdateRecentMenu();
  view_->SetFocus();
  Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
    UpdateKeyIndicators();
    event.Skip();
  });
}

void CMainFrame::KeepStripInReach() {
  // Where the user drags the sash is the folder pane's width from then on.
  splitter_->Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, [this](wxSplitterEvent& event) {
    event.SetSashPosition(std::min(event.GetSashPosition(), LargestSashPosition()));
    if (event.GetSashPosition() > 0) wantedSash_ = event.GetSashPosition();
  });
  // A narrower window takes the width from the folder pane, a wider one gives it back.
  splitter_->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    const int sash = std::min(wantedSash_, LargestSashPosition());
    if (splitter_->GetSashPosition() != sash) splitter_->SetSashPosition(sash);
    event.Skip();
  });
  Bind(wxEVT_DPI_CHANGED, [this](wxDPIChangedEvent& event) {
    event.Skip();
    // After the view has laid itself out for the new resolution.
    CallAfter([this] { FitToScreen(); });
  });
  FitToScreen();
}

void CMainFrame::FitToScreen() {
  editorMinimumWidth_ = view_->NeededClientWidth() + view_->GetSize().x - view_->GetClientSize().x;
  splitter_->SetMinimumPaneSize(ScaledLength(kFolderPaneLeast, view_->Dpi()));
  const int splitterBorders = splitter_->GetSize().x - splitter_->GetClientSize().x;
  const int editorAndSash = splitter_->GetSashSize() + editorMinimumWidth_ + splitterBorders;
  // The client area the screen has room for: a strip wider than that moves buttons into its
  // overflow menu instead of pushing the window off the screen.
  const wxRect screen = wxDisplay(this).GetClientArea();
  const wxSize frameExtra = GetSize() - GetClientSize();
  const wxSize room(std::max(screen.width - frameExtra.x, 1), std::max(screen.height - frameExtra.y, 1));
  SetMinClientSize(wxSize(std::min(splitter_->GetMinimumPaneSize() + editorAndSash, room.x), wxDefaultCoord));
  // Wide enough at the start for the folder pane's first width too, on any font, as far as the
  // screen allows.
  const wxSize wanted(std::min(std::max(GetClientSize().x, wantedSash_ + editorAndSash), room.x),
                      std::min(GetClientSize().y, room.y));
  if (wanted != GetClientSize()) SetClientSize(wanted);
}

int CMainFrame::LargestSashPosition() const {
  const int largest = splitter_->GetClientSize().x - splitter_->GetSashSize() - editorMinimumWidth_;
  return std::max(largest, splitter_->GetMinimumPaneSize());
}

void CMainFrame::CreateStatusPanes() {
  wxStatusBar* bar = CreateStatusBar(4);
  int widths[4] = {-1, 0, 0, 0};
  for (int i = 1; i < 4; ++i) widths[i] = bar->GetTextExtent(kKeyIndicators[i - 1].text).x + FromDIP(12);
  bar->SetStatusWidths(4, widths);
  SetStatusText("Ready", 0);
}

void CMainFrame::UpdateKeyIndicators() {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  for (int i = 1; i < 4; ++i) {
    const KeyIndicator& indicator = kKeyIndicators[i - 1];
    const wxString text = wxGetKeyState(indicator.key) ? indicator.text : "";
    if (bar->GetStatusText(i) != text) bar->SetStatusText(text, i);
  }
}

void CMainFrame::BindCommands() {
  // Closing asks nothing, so the unapplied edits are saved on the way out.
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    // A playing macro ends here: none of its keys reaches a window on its way out.
    view_->StopMacro();
    view_->KeepEditsNow();
    event.Skip();
  });
  Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, cmd::MenuIdOf(cmd::kExit));
  Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, cmd::MenuIdOf(cmd::kExit));
  Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        GetStatusBar()->Show(!GetStatusBar()->IsShown());
        SendSizeEvent();
      }, cmd::MenuIdOf(cmd::kStatusBar));
  Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Check(GetStatusBar()->IsShown()); },
       cmd::MenuIdOf(cmd::kStatusBar));
  for (const int command : {cmd::kNextPane, cmd::kPreviousPane}) {
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { FocusOtherPane(); }, cmd::MenuIdOf(command));
  }
  Bind(wxEVT_MENU, [this](wxCommandEvent& event) {
        OpenRecentFolder(static_cast<std::size_t>(event.GetId() - kRecentMenuFirst));
      }, kRecentMenuFirst, kRecentMenuLast);
  Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) {
        event.Enable(static_cast<std::size_t>(event.GetId() - kRecentMenuFirst) < recent_.Folders().size());
      }, kRecentMenuFirst, kRecentMenuLast);
}

bool CMainFrame::TreeHasFocus() const {
  const wxWindow* focus = FindFocus();
  return tree_ && focus && (focus == tree_ || tree_->IsDescendant(const_cast<wxWindow*>(focus)));
}

bool CMainFrame::TryBefore(wxEvent& event) {
  // Commands go to the pane with the focus first, as to the active view. The folder pane keeps
  // its font commands and passes a few commands on to the editor; the others find no handler.
  if (TreeHasFocus() && cmd::IsCommandMenuId(event.GetId())) {
    if (tree_->HandleOwnCommand(event)) return true;
    const int command = cmd::CommandOfMenuId(event.GetId());
    if (CFolderTreeView::ForwardsToEditor(command) && view_ && view_->HandleCommandEvent(event)) return true;
    return wxFrame::TryBefore(event);
  }
  if (view_ && view_->HandleCommandEvent(event)) return true;
  return wxFrame::TryBefore(event);
}

bool CMainFrame::TryAfter(wxEvent& event) {
  if (wxFrame::TryAfter(event)) return true;
  // A command that nobody handles is shown disabled.
  if (event.GetEventType() == wxEVT_UPDATE_UI && cmd::IsCommandMenuId(event.GetId())) {
    static_cast<wxUpdateUIEvent&>(event).Enable(false);
    return true;
  }
  return false;
}

void CMainFrame::FocusOtherPane() {
  // Two panes: the next and the previous one are the same.
  wxWindow* focus = FindFocus();
  const bool inEditor = focus && (focus == view_ || view_->IsDescendant(focus));
  (inEditor ? static_cast<wxWindow*>(tree_) : static_cast<wxWindow*>(view_))->SetFocus();
}

void CMainFrame::OpenStartFolder(std::u16string_view startPath) {
  const std::u16string lastPath =
      startPath.empty() ? settings_.ReadString(settings::kLastPath, u"") : std::u16string();
  const std::u16string folder = ChooseStartFolder(startPath, lastPath, fileSystem_);
  if (!folder.empty()) SelectPath(folder);
}

bool CMainFrame::SelectPath(std::u16string_view path) {
  if (path.empty() || fileSystem_.KindOf(path) != PathKind::Folder) return false;
  return tree_->SelectPath(fileSystem_.AbsolutePath(WithTrailingSeparator(path)));
}

void CMainFrame::ShowSelectedFolder(const std::u16string& folder) {
  settings_.WriteString(settings::kLastPath, folder);
  view_->ShowFolder(folder);
  recent_.Add(folder);
  UpdateRecentMenu();
}

bool CMainFrame::OpenRecentFolder(std::size_t index) {
  if (index >= recent_.Folders().size()) return false;
  if (SelectPath(recent_.Folders()[index])) return true;
  wxMessageBox("Could not open the specified folder.", "Nomvarix", wxOK | wxICON_ERROR, this);
  recent_.RemoveAt(index);
  UpdateRecentMenu();
  return false;
}

void CMainFrame::UpdateRecentMenu() {
  wxMenu* file = FileMenuOf(GetMenuBar());
  for (int id = kRecentMenuFirst; id <= kRecentMenuLast; ++id) {
    if (file->FindItem(id)) file->Destroy(id);
  }
  const auto& folders = recent_.Folders();
  if (folders.empty()) {
    file->Insert(kRecentMenuPosition, kRecentMenuFirst, "Recent File");
    return;
  }
  for (std::size_t i = 0; i < folders.size(); ++i) {
    wxString label = ToWx(folders[i]);
    label.Replace("&", "&&");
    file->Insert(kRecentMenuPosition + i, kRecentMenuFirst + static_cast<int>(i),
                 wxString::Format("&%zu %s", i + 1, label));
  }
}

}  // namespace nomvarix
