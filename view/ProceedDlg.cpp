#include "view/ProceedDlg.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "controls/HeadStatic.h"
#include "controls/WxText.h"
#include "platform/SettingKeys.h"
#include "platform/SettingsStore.h"

namespace nomvarix {

CProceedDlg::CProceedDlg(wxWindow* parent, SettingsStore& settings, std::u16string_view summary)
    : wxDialog(parent, wxID_ANY, "Apply Changes to the current folder"), settings_(settings) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  top->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_WARNING, wxART_MESSAGE_BOX)), 0,
           wxALL, FromDIP(10));
  auto* words = new wxBoxSizer(wxVERTICAL);
  words->Add(new wxStaticText(this, wxID_ANY, "You are about to rename the actual files in the current folder"));
  if (!summary.empty()) words->Add(new wxStaticText(this, kSummary, ToWx(summary)), 0, wxTOP, FromDIP(6));
  top->Add(words, 1, wxALIGN_CENTER_VERTICAL | wxTOP | wxBOTTOM | wxRIGHT, FromDIP(10));

  verify_ = new wxCheckBox(this, kVerifyFirst, "&Verify first and Abort if any error detected");
  skip_ = new wxRadioButton(this, kSkipConflicting, "&Skip Conflicting Files", wxDefaultPosition, wxDefaultSize,
                            wxRB_GROUP);
  autoRename_ = new wxRadioButton(this, kAutoRename, "A&uto-Rename Conflicting Files (_number)");

  auto* options = new wxBoxSizer(wxVERTICAL);
  options->Add(new CHeadStatic(this, kOptionsHeader, "Options", wxColour(86, 152, 233)), 0, wxEXPAND | wxBOTTOM,
               FromDIP(8));
  options->Add(verify_, 0, wxBOTTOM, FromDIP(8));
  options->Add(new wxStaticText(this, wxID_ANY, "If Conflicting files found"), 0, wxBOTTOM, FromDIP(4));
  options->Add(skip_, 0, wxLEFT | wxBOTTOM, FromDIP(12));
  options->Add(autoRename_, 0, wxLEFT, FromDIP(12));

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* proceed = new wxButton(this, wxID_OK, "&Proceed");
  proceed->SetDefault();
  buttons->AddStretchSpacer();
  buttons->Add(proceed, 0, wxRIGHT, FromDIP(8));
  buttons->Add(new wxButton(this, wxID_CANCEL, "&Cancel"));

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(top, 0, wxEXPAND);
  all->Add(options, 0, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(12));
  all->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(12));
  SetSizerAndFit(all);

  verify_->SetValue(settings_.ReadFlag(settings::kVerify, settings::kVerifyDefault));
  const bool autoRename = settings_.ReadInteger(settings::kErrorHandling, settings::kErrorHandlingDefault) ==
                          settings::kErrorHandlingAutoRename;
  (autoRename ? autoRename_ : skip_)->SetValue(true);
  EnableRadios();
  verify_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { OnVerifyClicked(); });
  for (wxRadioButton* radio : {skip_, autoRename_}) radio->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnRadioClicked(); });
  proceed->SetFocus();
  CentreOnParent();
}

bool CProceedDlg::Verify() const { return verify_->GetValue(); }

bool CProceedDlg::AutoRename() const { return autoRename_->GetValue(); }

void CProceedDlg::EnableRadios() {
  skip_->Enable(!Verify());
  autoRename_->Enable(!Verify());
}

void CProceedDlg::OnVerifyClicked() {
  EnableRadios();
  settings_.WriteFlag(settings::kVerify, Verify());
}

void CProceedDlg::OnRadioClicked() {
  settings_.WriteInteger(settings::kErrorHandling,
                         AutoRename() ? settings::kErrorHandlingAutoRename : settings::kErrorHandlingSkip);
}

}  // namespace nomvarix
