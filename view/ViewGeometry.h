#pragma once

#include <initializer_list>

#include <wx/font.h>

class wxWindow;

namespace nomvarix {

/// The dots per inch of `window`'s logical pixels, the unit it is sized and drawn in: 96 where
/// the toolkit scales every logical pixel itself (GTK at a desktop scale of 200 % draws each as
/// 2 × 2), the monitor's own where the program scales (Windows, aware of each monitor's DPI).
int LogicalDpi(const wxWindow& window);

/// The dots per inch the editor view is laid out for: the window's logical dots per inch, grown
/// with the desktop's font resolution where that is set apart from the display's (a forced font
/// DPI on GTK), so that the view's fonts and lengths grow with the user's text.
int ViewDpi(const wxWindow& window);

/// n × dpi / 96, rounded: a length of n pixels at 96 dots per inch on a screen of `dpi`.
int ScaledLength(int n, int dpi);

/// A font `pixelHeight` high with the first of `faces` that is installed, else the family's default.
wxFont FontOf(int pixelHeight, wxFontFamily family, std::initializer_list<const char*> faces,
              wxFontWeight weight = wxFONTWEIGHT_NORMAL);

/// Lengths of the editor view that do not depend on the fonts, scaled by the screen's dots per
/// inch (a length "n scaled" is n × dpi / 96), and the three fonts the view draws with.
struct ViewGeometry {
  explicit ViewGeometry(int dotsPerInch);

  int Scaled(int n) const;

  int dpi;
  int stripBandHeight;
  int textTopOffset;  ///< height of the ruler band below the strips
  int textMargin;
  int markerColumnWidth;
  int dividerGrip;

  int TextTop() const { return stripBandHeight + textTopOffset; }
};

/// The name font (proportional), the cell font (fixed pitch) and the menu font of the system.
struct ViewFonts {
  explicit ViewFonts(int fontSize);

  wxFont nameFont;
  wxFont cellFont;
  wxFont uiFont;
};

}  // namespace nomvarix
