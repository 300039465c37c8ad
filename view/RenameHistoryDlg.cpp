#include "view/RenameHistoryDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "controls/WxText.h"

namespace nomvarix {

/// The entries, as virtual rows: a history of thousands of files costs no more to show than ten.
class HistoryEntryList final : public wxListCtrl {
 public:
  explicit HistoryEntryList(wxWindow* parent)
      : wxListCtrl(parent, CRenameHistoryDlg::kEntryList, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL) {
    AppendColumn("Time", wxLIST_FORMAT_LEFT, FromDIP(130));
    AppendColumn("What", wxLIST_FORMAT_LEFT, FromDIP(70));
    AppendColumn("Folder", wxLIST_FORMAT_LEFT, FromDIP(300));
    AppendColumn("Files", wxLIST_FORMAT_RIGHT, FromDIP(90));
    AppendColumn("State", wxLIST_FORMAT_LEFT, FromDIP(120));
  }
  void Show(const HistoryBrowser* browser) {
    browser_ = browser;
    SetItemCount(browser ? static_cast<long>(browser->Rows().size()) : 0);
    Refresh();
  }

 private:
  wxString OnGetItemText(long row, long column) const override {
    const HistoryBrowser::Row& shown = browser_->Rows()[static_cast<std::size_t>(row)];
    switch (column) {
      case 0: return ToWx(shown.time);
      case 1: return ToWx(shown.kind);
      case 2: return ToWx(shown.folder);
      case 3: return ToWx(shown.count);
      default: return ToWx(shown.state);
    }
  }
  const HistoryBrowser* browser_ = nullptr;
};

/// The chosen entry's files: old name, new name, and what an undo would do now.
class HistoryFileList final : public wxListCtrl {
 public:
  explicit HistoryFileList(wxWindow* parent)
      : wxListCtrl(parent, CRenameHistoryDlg::kFileList, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL) {
    AppendColumn("Old name", wxLIST_FORMAT_LEFT, FromDIP(220));
    AppendColumn("New name", wxLIST_FORMAT_LEFT, FromDIP(220));
    AppendColumn("An undo now", wxLIST_FORMAT_LEFT, FromDIP(280));
  }
  void Show(const HistoryBrowser* browser) {
    browser_ = browser;
    SetItemCount(browser ? static_cast<long>(browser->FileRows().size()) : 0);
    Refresh();
  }
  std::vector<std::size_t> SelectedRows() const {
    std::vector<std::size_t> rows;
    for (long row = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row != -1;
         row = GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
      rows.push_back(static_cast<std::size_t>(row));
    }
    return rows;
  }

 private:
  wxString OnGetItemText(long row, long column) const override {
    const HistoryBrowser::FileRow& shown = browser_->FileRows()[static_cast<std::size_t>(row)];
    switch (column) {
      case 0: return ToWx(shown.oldName);
      case 1: return ToWx(shown.newName);
      default: return ToWx(shown.undo);
    }
  }
  const HistoryBrowser* browser_ = nullptr;
};

CRenameHistoryDlg::CRenameHistoryDlg(wxWindow* parent, Load load, Undo undo)
    : wxDialog(parent, wxID_ANY, "Rename History", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      load_(std::move(load)),
      undo_(std::move(undo)) {
  entries_ = new HistoryEntryList(this);
  entries_->SetMinSize(wxSize(FromDIP(740), FromDIP(200)));
  files_ = new HistoryFileList(this);
  files_->SetMinSize(wxSize(FromDIP(740), FromDIP(220)));
  elsewhere_ = new wxCheckBox(this, kElsewhereBox, "&Also move back files found under another name");
  auto* undoEntry = new wxButton(this, kUndoEntry, "&Undo Entry");
  auto* undoSelected = new wxButton(this, kUndoSelected, "Undo &Selected Files");
  auto* close = new wxButton(this, wxID_CANCEL, "Close");
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(elsewhere_, 1, wxALIGN_CENTER_VERTICAL);
  buttons->Add(undoEntry, 0, wxLEFT, FromDIP(8));
  buttons->Add(undoSelected, 0, wxLEFT, FromDIP(8));
  buttons->Add(close, 0, wxLEFT, FromDIP(8));
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(new wxStaticText(this, wxID_ANY, "Applies, newest first. Choose one to see its renames."), 0,
           wxLEFT | wxRIGHT | wxTOP, FromDIP(10));
  all->Add(entries_, 1, wxEXPAND | wxALL, FromDIP(10));
  all->Add(files_, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(10));
  all->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
  SetSizerAndFit(all);

  entries_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) { Choose(static_cast<std::size_t>(event.GetIndex())); });
  elsewhere_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { Choose(browser_->Chosen()); });
  undoEntry->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { UndoFiles(false); });
  undoSelected->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { UndoFiles(true); });
  Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(!browser_->Rows().empty()); }, kUndoEntry);
  Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(files_->GetSelectedItemCount() > 0); },
       kUndoSelected);
  Reload(0);
  entries_->SetFocus();
  CentreOnParent();
}

void CRenameHistoryDlg::Reload(std::size_t row) {
  entries_->Show(nullptr);
  files_->Show(nullptr);
  browser_ = load_();
  entries_->Show(browser_.get());
  if (row < browser_->Rows().size()) {
    entries_->SetItemState(static_cast<long>(row), wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    Choose(row);
  }
}

void CRenameHistoryDlg::Choose(std::size_t row) {
  browser_->Choose(row, elsewhere_->GetValue());
  files_->Show(browser_.get());
  entries_->RefreshItem(static_cast<long>(row));
}

void CRenameHistoryDlg::UndoFiles(bool selectedOnly) {
  if (browser_->Rows().empty()) return;
  const std::vector<std::size_t> rows = selectedOnly ? files_->SelectedRows() : std::vector<std::size_t>();
  if (selectedOnly && rows.empty()) return;
  undo_(browser_->Entry(browser_->Chosen()), browser_->ChoiceOf(rows));
  // The undo's own entry comes first now, chosen, so that it can be undone at once.
  Reload(0);
  entries_->SetFocus();
}

}  // namespace nomvarix
