#include "resources/AppIcon.h"

#include <algorithm>
#include <memory>

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/icon.h>

namespace nomvarix {
namespace {

// A blue tile with two white text lines, the upper one with a caret: names as editable lines.
wxIcon DrawIcon(int size) {
  wxImage image(size, size);
  image.InitAlpha();
  std::fill_n(image.GetAlpha(), size * size, 0);
  wxBitmap bitmap(image, 32);
  {
    wxMemoryDC dc(bitmap);
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
    const double s = size;
    gc->SetBrush(wxBrush(wxColour(38, 99, 186)));
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->DrawRoundedRectangle(0, 0, s, s, s * 0.18);
    gc->SetBrush(*wxWHITE_BRUSH);
    gc->DrawRectangle(s * 0.18, s * 0.30, s * 0.50, s * 0.12);
    gc->DrawRectangle(s * 0.18, s * 0.58, s * 0.64, s * 0.12);
    gc->SetBrush(wxBrush(wxColour(255, 196, 0)));
    gc->DrawRectangle(s * 0.72, s * 0.20, s * 0.07, s * 0.32);
  }
  wxIcon icon;
  icon.CopyFromBitmap(bitmap);
  return icon;
}

}  // namespace

wxIconBundle AppIcons() {
  wxIconBundle icons;
  for (int size : {16, 32, 48, 64}) icons.AddIcon(DrawIcon(size));
  return icons;
}

}  // namespace nomvarix
