#include "view/ValidationReportDlg.h"

#include <string>

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "controls/WxText.h"

namespace nomvarix {
namespace {

/// A virtual list: rows are asked for as they scroll into view, so a hundred thousand problems
/// cost no more to show than ten.
class ProblemList final : public wxListCtrl {
 public:
  ProblemList(wxWindow* parent, std::vector<ValidationProblem> problems)
      : wxListCtrl(parent, CValidationReportDlg::kProblemList, wxDefaultPosition, wxDefaultSize,
                   wxLC_REPORT | wxLC_VIRTUAL | wxLC_SINGLE_SEL),
        problems_(std::move(problems)) {
    AppendColumn("Line", wxLIST_FORMAT_RIGHT, FromDIP(60));
    AppendColumn("New name", wxLIST_FORMAT_LEFT, FromDIP(280));
    AppendColumn("Problem", wxLIST_FORMAT_LEFT, FromDIP(260));
    SetItemCount(static_cast<long>(problems_.size()));
  }

  std::size_t LineOf(long row) const { return problems_[static_cast<std::size_t>(row)].line; }

 private:
  wxString OnGetItemText(long row, long column) const override {
    const ValidationProblem& problem = problems_[static_cast<std::size_t>(row)];
    switch (column) {
      case 0: return std::to_string(problem.line + 1);
      case 1: return ToWx(problem.newName);
      default: return ToWx(problem.message);
    }
  }

  std::vector<ValidationProblem> problems_;
};

}  // namespace

CValidationReportDlg::CValidationReportDlg(wxWindow* parent, std::vector<ValidationProblem> problems,
                                           std::function<void(std::size_t line)> choose)
    : wxDialog(parent, wxID_ANY, "Validate Changes", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
  const std::string heading = std::to_string(problems.size()) +
                              (problems.size() == 1 ? " problem was found" : " problems were found") +
                              ". Choose one to go to its line.";
  auto* list = new ProblemList(this, std::move(problems));
  list->SetMinSize(wxSize(FromDIP(620), FromDIP(300)));
  auto* close = new wxButton(this, wxID_OK, "&Close");
  close->SetDefault();
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(new wxStaticText(this, wxID_ANY, heading), 0, wxLEFT | wxRIGHT | wxTOP, FromDIP(10));
  all->Add(list, 1, wxEXPAND | wxALL, FromDIP(10));
  all->Add(close, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  SetSizerAndFit(all);
  list->Bind(wxEVT_LIST_ITEM_SELECTED, [list, choose = std::move(choose)](wxListEvent& event) {
    choose(list->LineOf(event.GetIndex()));
  });
  list->SetFocus();
  CentreOnParent();
}

}  // namespace nomvarix
