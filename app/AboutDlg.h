#pragma once

#include <wx/dialog.h>

namespace nomvarix {

/// "About Nomvarix": the icon, the name, the version and an OK button.
class CAboutDlg final : public wxDialog {
 public:
  explicit CAboutDlg(wxWindow* parent);
};

}  // namespace nomvarix
