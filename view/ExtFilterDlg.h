#pragma once

#include <string>

#include <wx/dialog.h>

class wxTextCtrl;

namespace nomvarix {

/// "Set Filter": the extension list and the text a name must include. "Reset All" empties both
/// and closes as "Apply Filter" does.
class CExtFilterDlg final : public wxDialog {
 public:
  enum ControlId { kExtensions = 1017, kMustInclude = 1018, kResetAll = 1019 };

  CExtFilterDlg(wxWindow* parent, const std::u16string& extensions, const std::u16string& mustInclude);

  std::u16string Extensions() const;
  std::u16string MustInclude() const;

 private:
  wxTextCtrl* extensions_ = nullptr;
  wxTextCtrl* mustInclude_ = nullptr;
};

}  // namespace nomvarix
