#include "controls/HeadStatic.h"

#include <cmath>

#include <wx/dcbuffer.h>
#include <wx/settings.h>

namespace nomvarix {

namespace {

/// The menu font at 84 % of its height, bold.
wxFont CaptionFont() {
  wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  const int height = font.GetPixelSize().y;
  if (height > 0) font.SetPixelSize(wxSize(0, static_cast<int>(std::trunc(height * 0.84))));
  font.SetWeight(wxFONTWEIGHT_BOLD);
  return font;
}

}  // namespace

void PaintHeadBar(wxDC& dc, const wxRect& area, const wxString& caption, const wxColour& barColour) {
  dc.SetBrush(wxBrush(barColour));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawRectangle(area);
  if (caption.empty()) return;
  dc.SetFont(CaptionFont());
  dc.SetTextForeground(*wxWHITE);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  dc.DrawLabel(caption, area, wxALIGN_CENTER);
}

CHeadStatic::CHeadStatic(wxWindow* parent, wxWindowID id, const wxString& caption, const wxColour& barColour)
    : wxWindow(parent, id), barColour_(barColour) {
  SetLabel(caption);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &CHeadStatic::OnPaint, this);
}

wxSize CHeadStatic::DoGetBestClientSize() const {
  wxClientDC dc(const_cast<CHeadStatic*>(this));
  dc.SetFont(CaptionFont());
  const wxSize text = dc.GetTextExtent(GetLabel().empty() ? wxString("M") : GetLabel());
  return {text.x + FromDIP(16), text.y + FromDIP(6)};
}

void CHeadStatic::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  PaintHeadBar(dc, wxRect(GetClientSize()), GetLabel(), barColour_);
}

}  // namespace nomvarix
