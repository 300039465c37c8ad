#include "view/MetadataDlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/WxText.h"
#include "transform/MetadataPattern.h"

namespace nomvarix {
namespace {

constexpr std::size_t kPreviewLines = 5;

}  // namespace

CMetadataDlg::CMetadataDlg(wxWindow* parent, const std::u16string& pattern, std::vector<std::u16string> names,
                           std::vector<MetadataRecord> records)
    : wxDialog(parent, wxID_ANY, "Insert from Metadata", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      names_(std::move(names)),
      records_(std::move(records)) {
  pattern_ = new wxTextCtrl(this, wxID_ANY, ToWx(pattern), wxDefaultPosition, wxSize(FromDIP(420), -1));
  auto* groups = new wxBoxSizer(wxHORIZONTAL);
  const std::pair<MetadataGroup, const char*> titles[] = {
      {MetadataGroup::Photo, "Photo"}, {MetadataGroup::Audio, "Audio"}, {MetadataGroup::File, "File"}};
  for (const auto& [group, title] : titles) {
    auto* list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(FromDIP(130), FromDIP(180)));
    for (const MetadataField& field : MetadataFields()) {
      if (field.group == group) list->Append(ToWx(std::u16string(field.name)));
    }
    list->Bind(wxEVT_LISTBOX_DCLICK, [this, list](wxCommandEvent&) {
      pattern_->WriteText("{" + list->GetStringSelection() + "}");
      pattern_->SetFocus();
    });
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, title));
    column->Add(list, 1, wxEXPAND | wxTOP, FromDIP(4));
    groups->Add(column, 1, wxEXPAND | wxRIGHT, FromDIP(8));
  }
  useFallback_ = new wxCheckBox(this, wxID_ANY, "When a file lacks a field, insert the rest with:");
  fallback_ = new wxTextCtrl(this, wxID_ANY, "unknown");
  fallback_->Disable();
  preview_ = new wxStaticText(this, wxID_ANY, "");
  missing_ = new wxStaticText(this, wxID_ANY, "");
  auto* ok = new wxButton(this, wxID_OK, "Insert");
  ok->SetDefault();

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->AddStretchSpacer();
  buttons->Add(ok, 0, wxRIGHT, FromDIP(6));
  buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
  auto* all = new wxBoxSizer(wxVERTICAL);
  const int gap = FromDIP(10);
  all->Add(groups, 1, wxEXPAND | wxALL, gap);
  all->Add(new wxStaticText(this, wxID_ANY, "Pattern (double-click a field; dates: {DateTaken:yyyy-MM-dd HH-mm-ss}, "
                                            "numbers: {Track:2})"),
           0, wxLEFT | wxRIGHT, gap);
  all->Add(pattern_, 0, wxEXPAND | wxALL, gap);
  all->Add(useFallback_, 0, wxLEFT | wxRIGHT, gap);
  all->Add(fallback_, 0, wxEXPAND | wxALL, gap);
  all->Add(new wxStaticText(this, wxID_ANY, "Preview"), 0, wxLEFT | wxRIGHT, gap);
  all->Add(preview_, 0, wxEXPAND | wxALL, gap);
  all->Add(missing_, 0, wxLEFT | wxRIGHT, gap);
  all->Add(buttons, 0, wxEXPAND | wxALL, gap);
  SetSizerAndFit(all);

  pattern_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ShowPreview(); });
  fallback_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ShowPreview(); });
  useFallback_->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) {
    fallback_->Enable(useFallback_->GetValue());
    ShowPreview();
  });
  ShowPreview();
  pattern_->SetFocus();
  CentreOnParent();
}

void CMetadataDlg::ShowPreview() {
  const std::u16string pattern = Pattern();
  const std::optional<std::u16string> fallback = Fallback();
  std::u16string text;
  for (std::size_t i = 0; i < std::min({kPreviewLines, names_.size(), records_.size()}); ++i) {
    const std::optional<std::u16string> inserted = ExpandMetadataPattern(pattern, records_[i], fallback);
    text += names_[i] + u"  \u2192  " + (inserted ? u"\u201C" + *inserted + u"\u201D" : u"(left as it is)") + u"\n";
  }
  preview_->SetLabel(ToWx(text));
  const std::size_t missing = CountMissingFields(pattern, records_);
  missing_->SetLabel(wxString::Format("%zu of %zu files lack a field of the pattern", missing, records_.size()));
  Layout();
}

std::u16string CMetadataDlg::Pattern() const { return FromWx(pattern_->GetValue()); }

std::optional<std::u16string> CMetadataDlg::Fallback() const {
  if (!useFallback_->GetValue()) return std::nullopt;
  return FromWx(fallback_->GetValue());
}

}  // namespace nomvarix
