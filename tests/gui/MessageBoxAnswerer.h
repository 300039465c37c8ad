#pragma once

#include <vector>

#include <wx/modalhook.h>
#include <wx/msgdlg.h>

namespace nomvarix::test {

/// Answers every message box the program shows while it lives, as a user would, and keeps their
/// texts. The toolkit asks this hook before it shows a modal dialog, so no box ever waits on screen.
class MessageBoxAnswerer final : public wxModalDialogHook {
 public:
  /// `answer` is the button pressed: wxID_YES, wxID_NO, wxID_OK.
  explicit MessageBoxAnswerer(int answer) : answer_(answer) { Register(); }

  const std::vector<wxString>& Messages() const { return messages_; }

 protected:
  int Enter(wxDialog* dialog) override {
    const auto* box = dynamic_cast<wxMessageDialog*>(dialog);
    if (!box) return wxID_NONE;
    messages_.push_back(box->GetMessage());
    return answer_;
  }

 private:
  const int answer_;
  std::vector<wxString> messages_;
};

}  // namespace nomvarix::test
