#include "app/AboutDlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "app/rules/CommandLine.h"
#include "resources/AppIcon.h"

namespace nomvarix {

// Laid out in dialog units, which follow the dialog's font.
CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, "About Nomvarix") {
  const auto at = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  const auto size = [this](int w, int h) { return ConvertDialogToPixels(wxSize(w, h)); };
  const wxIcon icon = AppIcons().GetIcon(32);
  new wxStaticBitmap(this, wxID_ANY, icon, at(14, 14));
  new wxStaticText(this, wxID_ANY, "Nomvarix", at(42, 14), size(114, 8));
  new wxStaticText(this, wxID_ANY, wxString("Version ") + kProgramVersion, at(41, 43), size(41, 8));
  new wxStaticText(this, wxID_ANY, wxString::FromUTF8("Copyright \u00A9 2026 Quorvantine"), at(41, 57), size(150, 8));
  auto* ok = new wxButton(this, wxID_OK, "OK", at(168, 82), size(50, 14));
  ok->SetDefault();
  SetClientSize(size(225, 103));
  CentreOnParent();
}

}  // namespace nomvarix
