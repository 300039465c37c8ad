#include "ai/dialog/LlmSettingsDlg.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace nomvarix {
namespace {

std::string Trimmed(const wxString& text) { return text.Strip(wxString::both).utf8_string(); }

}  // namespace

CLlmSettingsDlg::CLlmSettingsDlg(wxWindow* parent, const ChatServer& server, const char* keyVariable,
                                 const char* keyPlaceNote)
    : wxDialog(parent, wxID_ANY, "LLM Settings") {
  const wxSize fieldSize(FromDIP(360), -1);
  baseUrl_ = new wxTextCtrl(this, kBaseUrl, wxString::FromUTF8(server.baseUrl), wxDefaultPosition, fieldSize);
  model_ = new wxTextCtrl(this, kModel, wxString::FromUTF8(server.model), wxDefaultPosition, fieldSize);
  apiKey_ = new wxTextCtrl(this, kApiKey, wxString::FromUTF8(server.apiKey), wxDefaultPosition, fieldSize,
                           wxTE_PASSWORD);

  const int gap = FromDIP(6);
  auto* fields = new wxFlexGridSizer(2, gap, gap);
  fields->AddGrowableCol(1);
  for (const auto& [label, field] : {std::pair<const char*, wxTextCtrl*>{"&Base URL", baseUrl_},
                                     std::pair<const char*, wxTextCtrl*>{"&Model", model_},
                                     std::pair<const char*, wxTextCtrl*>{"API &key", apiKey_}}) {
    // Right before its field in the tab order: the field takes the label's name and its mnemonic.
    auto* text = new wxStaticText(this, wxID_ANY, label);
    text->MoveBeforeInTabOrder(field);
    fields->Add(text, 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(field, 1, wxEXPAND);
  }
  auto* note = new wxStaticText(this, wxID_ANY,
                                wxString::Format("An OpenAI-compatible chat server; the path of its chat endpoint is "
                                                 "added to the base URL.\nWith no key here, the environment variable "
                                                 "%s supplies it.\n%s",
                                                 keyVariable, keyPlaceNote));
  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(fields, 0, wxEXPAND | wxALL, gap * 2);
  all->Add(note, 0, wxLEFT | wxRIGHT, gap * 2);
  all->Add(CreateSeparatedButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, gap * 2);
  SetSizerAndFit(all);
  CentreOnParent();
}

ChatServer CLlmSettingsDlg::Server() const {
  return {Trimmed(baseUrl_->GetValue()), Trimmed(model_->GetValue()), Trimmed(apiKey_->GetValue())};
}

}  // namespace nomvarix
