#pragma once

#include <functional>
#include <string>

#include <wx/dialog.h>

#include "transform/FindReplace.h"

class wxCheckBox;
class wxTextCtrl;

namespace nomvarix {

/// "Find/Replace": the modeless search dialog of the editor. Its buttons hand the fields and
/// options to the editor; Enter is "Find Next"; cancelling destroys it.
class CFindReplaceDlg final : public wxDialog {
 public:
  enum ControlId {
    kFindText = 1003,
    kReplaceText = 1004,
    kMatchCase = 1005,
    kWholeWord = 1006,
    kRegex = 1007,
    kFindNext = 1008,
    kReplace = 1009,
    kReplaceAll = 1010
  };
  enum class Action { FindNext, Replace, ReplaceAll };
  using Handler = std::function<void(Action)>;

  CFindReplaceDlg(wxWindow* parent, Handler handler);

  std::u16string SearchText() const;
  std::u16string ReplacementText() const;
  SearchOptions Options() const;
  /// Puts `text` into the find field, selected.
  void Seed(const std::u16string& text);

 private:
  wxTextCtrl* find_ = nullptr;
  wxTextCtrl* replace_ = nullptr;
  wxCheckBox* matchCase_ = nullptr;
  wxCheckBox* wholeWord_ = nullptr;
  wxCheckBox* regex_ = nullptr;
  Handler handler_;
};

}  // namespace nomvarix
