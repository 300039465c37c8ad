#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/window.h>

namespace nomvarix {

/// The header bar's look: `area` filled with `barColour`, `caption` centred on it in white.
void PaintHeadBar(wxDC& dc, const wxRect& area, const wxString& caption, const wxColour& barColour);

/// A static text painted as a coloured header bar: the caption in white bold type (the menu font
/// at 84 % of its height), centred on the bar colour.
class CHeadStatic final : public wxWindow {
 public:
  CHeadStatic(wxWindow* parent, wxWindowID id, const wxString& caption, const wxColour& barColour);

  const wxColour& BarColour() const { return barColour_; }

 private:
  void OnPaint(wxPaintEvent& event);
  wxSize DoGetBestClientSize() const override;

  wxColour barColour_;
};

}  // namespace nomvarix
