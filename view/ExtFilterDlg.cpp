#include "view/ExtFilterDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/WxText.h"

namespace nomvarix {

CExtFilterDlg::CExtFilterDlg(wxWindow* parent, const std::u16string& extensions, const std::u16string& mustInclude)
    : wxDialog(parent, wxID_ANY, "Set Filter") {
  // Each label right before its field: the field takes the label's name and its mnemonic.
  auto* extensionsLabel = new wxStaticText(this, wxID_ANY, "&Extension Filter (jpg,png,bmp)");
  extensions_ = new wxTextCtrl(this, kExtensions, ToWx(extensions), wxDefaultPosition, wxSize(FromDIP(240), -1));
  auto* mustIncludeLabel = new wxStaticText(this, wxID_ANY, "Name &Must Include");
  mustInclude_ = new wxTextCtrl(this, kMustInclude, ToWx(mustInclude), wxDefaultPosition, wxSize(FromDIP(240), -1));
  auto* reset = new wxButton(this, kResetAll, "&Reset All");
  auto* apply = new wxButton(this, wxID_OK, "&Apply Filter");
  apply->SetDefault();

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(reset, 0, wxRIGHT, FromDIP(24));
  buttons->AddStretchSpacer();
  buttons->Add(apply, 0, wxRIGHT, FromDIP(8));
  buttons->Add(new wxButton(this, wxID_CANCEL, "&Cancel"));
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(extensionsLabel, 0, wxLEFT | wxRIGHT | wxTOP, FromDIP(10));
  all->Add(extensions_, 0, wxEXPAND | wxALL, FromDIP(10));
  all->Add(mustIncludeLabel, 0, wxLEFT | wxRIGHT, FromDIP(10));
  all->Add(mustInclude_, 0, wxEXPAND | wxALL, FromDIP(10));
  all->Add(buttons, 0, wxEXPAND | wxALL, FromDIP(10));
  SetSizerAndFit(all);

  reset->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    extensions_->Clear();
    mustInclude_->Clear();
    EndModal(wxID_OK);
  });
  extensions_->SetFocus();
  CentreOnParent();
}

std::u16string CExtFilterDlg::Extensions() const { return FromWx(extensions_->GetValue()); }

std::u16string CExtFilterDlg::MustInclude() const { return FromWx(mustInclude_->GetValue()); }

}  // namespace nomvarix
