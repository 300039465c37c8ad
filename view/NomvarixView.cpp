#include "view/NomvarixView.h"

#include <wx/dcbuffer.h>
#include <wx/fontenum.h>
#include <wx/msgdlg.h>

#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"
#include "resources/CommandIds.h"
#include "view/SystemClipboard.h"
#include "view/WxText.h"

namespace nomvarix {
namespace {

wxFont FixedPitchFont(int pixelHeight) {
  wxFontInfo info = wxFontInfo(wxSize(0, pixelHeight)).Family(wxFONTFAMILY_TELETYPE);
  if (wxFontEnumerator::IsValidFacename("Courier New")) info.FaceName("Courier New");
  return wxFont(info);
}

}  // namespace

CNomvarixView::CNomvarixView(wxWindow* parent, FileSystem& fileSystem, SettingsStore& settings)
    : wxVScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxSize(100, 100), wxWANTS_CHARS | wxFULL_REPAINT_ON_RESIZE),
      clipboard_(MakeSystemClipboard()),
      session_(fileSystem, settings) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  const int fontSize = static_cast<int>(
      settings.ReadInteger(settings::kFontSize, settings::DefaultFontSize(GetDPI().x)));
  nameFont_ = FixedPitchFont(fontSize);
  SetFont(nameFont_);
  lineHeight_ = GetCharHeight() + FromDIP(2);
  session_.Editor().SetMetrics(ViewMetrics{.lineHeight = lineHeight_, .charWidth = GetTextExtent("M").x});
  AddCommands();
  Bind(wxEVT_PAINT, &CNomvarixView::OnPaint, this);
  SetRowCount(0);
}

CNomvarixView::~CNomvarixView() = default;

void CNomvarixView::AddCommands() {
  const auto always = CommandTable::Predicate{};
  commands_.Add(cmd::kReload, [this] { ConfirmReload(); });
  commands_.Add(cmd::kResetAndReload, [this] { ConfirmReload(); });
  commands_.Add(cmd::kSortCaseSensitive, [this] { Run(&EditorSession::ToggleSortCaseSensitive); }, always,
                [this] { return session_.SortCaseSensitive(); });
  commands_.Add(cmd::kSortByFileName, [this] { Run(&EditorSession::SortByFileName); }, always,
                [this] { return !session_.SortByExtension(); });
  commands_.Add(cmd::kSortByFileType, [this] { Run(&EditorSession::SortByFileType); }, always,
                [this] { return session_.SortByExtension(); });
  commands_.Add(cmd::kAutoCheckConflicts, [this] { session_.ToggleAutoCheckConflicts(); }, always,
                [this] { return session_.CheckConflictsEnabled(); });

  const NameEditor& editor = session_.Editor();
  commands_.Add(cmd::kUndo, [this] { session_.Undo(); AfterEdit(); }, [&editor] { return editor.CanUndo(); });
  commands_.Add(cmd::kRedo, [this] { session_.Redo(); AfterEdit(); }, [&editor] { return editor.CanRedo(); });
  commands_.Add(cmd::kCopy, [this] { session_.CopySelection(*clipboard_); }, [&editor] { return editor.CanCopy(); });
  commands_.Add(cmd::kCut, [this] { session_.CutSelection(*clipboard_); AfterEdit(); },
                [&editor] { return editor.CanCut(); });
  commands_.Add(cmd::kPaste, [this] { session_.PasteClipboard(*clipboard_); AfterEdit(); },
                [this] { return clipboard_->HasText(); });
  commands_.Add(cmd::kSelectAll, [this] { session_.Editor().SelectAll(); AfterEdit(); });
}

bool CNomvarixView::HandleCommandEvent(wxEvent& event) {
  if (!cmd::IsCommandMenuId(event.GetId())) return false;
  const int command = cmd::CommandOfMenuId(event.GetId());
  if (event.GetEventType() == wxEVT_UPDATE_UI) {
    const auto state = commands_.StateOf(command);
    if (!state) return false;
    auto& update = static_cast<wxUpdateUIEvent&>(event);
    update.Enable(state->enabled);
    if (state->checked) update.Check(*state->checked);
    return true;
  }
  if (event.GetEventType() == wxEVT_MENU) return commands_.Run(command);
  return false;
}

void CNomvarixView::ShowFolder(const std::u16string& folder) {
  session_.SwitchToFolder(folder);
  AfterListChanged();
}

void CNomvarixView::ConfirmReload() {
  const int answer = wxMessageBox(ToWx(kReloadQuestion), "Nomvarix", wxYES_NO | wxICON_QUESTION, this);
  if (answer != wxYES) return;
  session_.ReloadConfirmed();
  AfterListChanged();
}

void CNomvarixView::Run(void (EditorSession::*command)()) {
  (session_.*command)();
  AfterListChanged();
}

void CNomvarixView::AfterListChanged() {
  SetRowCount(session_.Editor().LineCount());
  AfterEdit();
}

void CNomvarixView::AfterEdit() {
  ScrollToRow(static_cast<size_t>(session_.Editor().TopLine()));
  Refresh();
}

wxCoord CNomvarixView::OnGetRowHeight(size_t) const { return lineHeight_; }

void CNomvarixView::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetFont(nameFont_);
  const wxSize client = GetClientSize();
  const int dividerX = std::max(FromDIP(120), client.x / 3);
  const int margin = FromDIP(4);
  const NameList& names = session_.Editor().Names();
  const size_t end = std::min(GetVisibleRowsEnd(), names.size());
  int y = 0;
  for (size_t row = GetVisibleRowsBegin(); row < end; ++row, y += lineHeight_) {
    const NameEntry& entry = names[row];
    {
      wxDCClipper clip(dc, wxRect(0, y, dividerX - margin, lineHeight_));
      dc.SetTextForeground(wxColour(96, 96, 96));
      dc.DrawText(ToWx(entry.originalName), margin, y + 1);
    }
    dc.SetTextForeground(entry.newName == entry.originalName ? *wxBLACK : wxColour(200, 0, 0));
    dc.DrawText(ToWx(entry.lineText), dividerX + margin, y + 1);
  }
  dc.SetPen(wxPen(wxColour(192, 192, 192)));
  dc.DrawLine(dividerX, 0, dividerX, client.y);
}

}  // namespace nomvarix
