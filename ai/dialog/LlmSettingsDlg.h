#pragma once

#include <wx/dialog.h>

#include "ai/LlmClient.h"

class wxTextCtrl;

namespace nomvarix {

/// "LLM Settings": the chat server's base URL, the model and the API key. The key is shown masked;
/// left empty, the environment variable named below supplies it. `keyPlaceNote` says where the key
/// is kept.
class CLlmSettingsDlg final : public wxDialog {
 public:
  enum ControlId { kBaseUrl = 1101, kModel = 1102, kApiKey = 1103 };

  CLlmSettingsDlg(wxWindow* parent, const ChatServer& server, const char* keyVariable, const char* keyPlaceNote);

  /// The values as edited, blanks around them removed.
  ChatServer Server() const;

 private:
  wxTextCtrl* baseUrl_ = nullptr;
  wxTextCtrl* model_ = nullptr;
  wxTextCtrl* apiKey_ = nullptr;
};

}  // namespace nomvarix
