#include "controls/ColorEdit.h"

#include <wx/fontenum.h>

namespace nomvarix {

CColorEdit::CColorEdit(wxWindow* parent, wxWindowID id, long extraStyle)
    : wxTextCtrl(parent, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxTE_MULTILINE | extraStyle) {}

void CColorEdit::SetFixedFont(int pixelHeight) {
  wxFontInfo info = wxFontInfo(wxSize(0, pixelHeight)).Family(wxFONTFAMILY_MODERN);
  if (wxFontEnumerator::IsValidFacename("Courier New")) info.FaceName("Courier New");
  SetFont(wxFont(info));
  hasOwnFont_ = true;
  Refresh();
}

void CColorEdit::SetBackground(const wxColour& colour) {
  SetBackgroundColour(colour);
  Refresh();
}

void CColorEdit::SetTextColor(const wxColour& colour) {
  SetForegroundColour(colour);
  Refresh();
}

}  // namespace nomvarix
