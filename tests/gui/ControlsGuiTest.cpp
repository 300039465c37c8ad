#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "controls/ColorEdit.h"
#include "controls/HeadStatic.h"

namespace nomvarix::test {
namespace {

const wxColour kBar(86, 152, 233);

/// Paints a header bar of 120 by 24 pixels and counts its white pixels.
int WhitePixels(const wxString& caption) {
  wxBitmap bitmap(120, 24, 24);
  {
    wxMemoryDC dc(bitmap);
    PaintHeadBar(dc, wxRect(0, 0, 120, 24), caption, kBar);
  }
  const wxImage image = bitmap.ConvertToImage();
  int white = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) {
      const wxColour pixel(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
      if (pixel == *wxWHITE) ++white;
      EXPECT_TRUE(pixel == *wxWHITE || pixel.Blue() >= kBar.Blue() - 1) << x << "," << y;  // bar or text only
    }
  }
  return white;
}

TEST(ControlsGuiTest, TheHeaderBarIsFilledAndCarriesItsCaptionInWhite) {
  EXPECT_EQ(WhitePixels(""), 0);  // an empty caption paints only the bar
  EXPECT_GT(WhitePixels("Options"), 20);
}

TEST(ControlsGuiTest, TheColouredTextBoxKeepsItsColoursAndFont) {
  wxFrame frame(nullptr, wxID_ANY, "controls");
  CColorEdit edit(&frame, wxID_ANY);
  EXPECT_TRUE(edit.IsMultiLine());
  EXPECT_FALSE(edit.HasOwnFont());
  edit.SetFixedFont(15);
  edit.SetBackground(wxColour(1, 2, 3));
  edit.SetBackground(wxColour(30, 30, 30));
  edit.SetTextColor(wxColour(200, 220, 0));
  EXPECT_TRUE(edit.HasOwnFont());
  EXPECT_TRUE(edit.GetFont().IsFixedWidth());
  EXPECT_EQ(edit.GetBackgroundColour(), wxColour(30, 30, 30));
  EXPECT_EQ(edit.GetForegroundColour(), wxColour(200, 220, 0));
}

}  // namespace
}  // namespace nomvarix::test
