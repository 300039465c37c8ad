#include "view/FindReplaceDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/WxText.h"

namespace nomvarix {

CFindReplaceDlg::CFindReplaceDlg(wxWindow* parent, Handler handler)
    : wxDialog(parent, wxID_ANY, "Find/Replace"), handler_(std::move(handler)) {
  // Each label right before its field: the field takes the label's name and its mnemonic.
  auto* findLabel = new wxStaticText(this, wxID_ANY, "F&ind");
  find_ = new wxTextCtrl(this, kFindText, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(220), -1), wxTE_PROCESS_ENTER);
  auto* replaceLabel = new wxStaticText(this, wxID_ANY, "Re&place");
  replace_ = new wxTextCtrl(this, kReplaceText, wxEmptyString, wxDefaultPosition, wxSize(FromDIP(220), -1),
                            wxTE_PROCESS_ENTER);
  matchCase_ = new wxCheckBox(this, kMatchCase, "Match &Case");
  wholeWord_ = new wxCheckBox(this, kWholeWord, "&Whole Word");
  regex_ = new wxCheckBox(this, kRegex, "Regular E&xpression");  // created here for its place in the tab order
  auto* findNext = new wxButton(this, kFindNext, "&Find Next");
  auto* replace = new wxButton(this, kReplace, "&Replace");
  auto* replaceAll = new wxButton(this, kReplaceAll, "Replace &All");
  findNext->SetDefault();

  auto* fields = new wxFlexGridSizer(2, FromDIP(6), FromDIP(6));
  fields->Add(findLabel, 0, wxALIGN_CENTER_VERTICAL);
  fields->Add(find_, 1, wxEXPAND);
  fields->Add(replaceLabel, 0, wxALIGN_CENTER_VERTICAL);
  fields->Add(replace_, 1, wxEXPAND);
  auto* options = new wxBoxSizer(wxHORIZONTAL);
  options->Add(matchCase_, 0, wxRIGHT, FromDIP(12));
  options->Add(wholeWord_, 0, wxRIGHT, FromDIP(12));
  options->Add(regex_);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  for (wxButton* button : {findNext, replace, replaceAll}) buttons->Add(button, 0, wxRIGHT, FromDIP(6));
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(fields, 0, wxEXPAND | wxALL, FromDIP(10));
  all->Add(options, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  all->Add(buttons, 0, wxLEFT | wxRIGHT | wxBOTTOM, FromDIP(10));
  SetSizerAndFit(all);

  const auto send = [this](Action action) { return [this, action](wxCommandEvent&) { handler_(action); }; };
  findNext->Bind(wxEVT_BUTTON, send(Action::FindNext));
  replace->Bind(wxEVT_BUTTON, send(Action::Replace));
  replaceAll->Bind(wxEVT_BUTTON, send(Action::ReplaceAll));
  for (wxTextCtrl* field : {find_, replace_}) field->Bind(wxEVT_TEXT_ENTER, send(Action::FindNext));
  // The dialog's OK does nothing; Cancel (Esc, the close box) destroys it.
  Bind(wxEVT_BUTTON, [](wxCommandEvent&) {}, wxID_OK);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Destroy(); });
  Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
      Destroy();
      return;
    }
    event.Skip();
  });
  find_->SetFocus();
}

std::u16string CFindReplaceDlg::SearchText() const { return FromWx(find_->GetValue()); }

std::u16string CFindReplaceDlg::ReplacementText() const { return FromWx(replace_->GetValue()); }

SearchOptions CFindReplaceDlg::Options() const {
  return {matchCase_->GetValue(), wholeWord_->GetValue(), regex_->GetValue()};
}

void CFindReplaceDlg::Seed(const std::u16string& text) {
  find_->SetValue(ToWx(text));
  find_->SelectAll();
  find_->SetInsertionPointEnd();
  find_->SelectAll();
  find_->SetFocus();
}

}  // namespace nomvarix
