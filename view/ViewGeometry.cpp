#include "view/ViewGeometry.h"

#include <map>
#include <string>

#include <wx/fontenum.h>
#include <wx/settings.h>
#include <wx/window.h>

#include "view/TextResolution.h"

namespace nomvarix {

int LogicalDpi(const wxWindow& window) { return window.FromDIP(96); }

int ViewDpi(const wxWindow& window) { return static_cast<int>(LogicalDpi(window) * TextResolution() / 96 + 0.5); }

int ScaledLength(int n, int dpi) { return static_cast<int>((static_cast<long long>(n) * dpi + 48) / 96); }

namespace {

/// The first of `faces` that is installed, or empty. Asking lists every font of the system, so each
/// list is asked once: the fonts are made again on every step of the font size.
wxString InstalledFace(std::initializer_list<const char*> faces) {
  static std::map<std::string, wxString> known;
  std::string key;
  for (const char* face : faces) key.append(face).push_back('\n');
  const auto found = known.find(key);
  if (found != known.end()) return found->second;
  wxString installed;
  for (const char* face : faces) {
    if (wxFontEnumerator::IsValidFacename(face)) {
      installed = face;
      break;
    }
  }
  return known.emplace(key, installed).first->second;
}

}  // namespace

wxFont FontOf(int pixelHeight, wxFontFamily family, std::initializer_list<const char*> faces, wxFontWeight weight) {
  wxFontInfo info = wxFontInfo(wxSize(0, pixelHeight)).Family(family).Weight(weight);
  if (const wxString face = InstalledFace(faces); !face.empty()) info.FaceName(face);
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
