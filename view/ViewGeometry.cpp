#include "view/ViewGeometry.h"

#include <wx/fontenum.h>
#include <wx/settings.h>

namespace nomvarix {
int ScaledLength(int n, int dpi) { return static_cast<int>((static_cast<long long>(n) * dpi + 48) / 96); }

wxFont FontOf(int pixelHeight, wxFontFamily family, std::initializer_list<const char*> faces, wxFontWeight weight) {
  wxFontInfo info = wxFontInfo(wxSize(0, pixelHeight)).Family(family).Weight(weight);
  for (const char* face : faces) {
    if (wxFontEnumerator::IsValidFacename(face)) {
      info.FaceName(face);
      break;
    }
  }
  return wxFont(info);
}

ViewGeometry::ViewGeometry(int dotsPerInch)
    : dpi(dotsPerInch > 0 ? dotsPerInch : 96),
      stripBandHeight(Scaled(23) + 2 * Scaled(8)),
      textTopOffset(Scaled(27)),
      textMargin(Scaled(20)),
      markerColumnWidth(Scaled(20)),
      dividerGrip(Scaled(8)) {}

int ViewGeometry::Scaled(int n) const { return ScaledLength(n, dpi); }

ViewFonts::ViewFonts(int fontSize)
    : nameFont(FontOf(fontSize, wxFONTFAMILY_SWISS, {"Segoe UI"})),
      cellFont(FontOf(fontSize, wxFONTFAMILY_TELETYPE, {"Terminal", "Courier New"})),
      uiFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT)) {}

}  // namespace nomvarix
