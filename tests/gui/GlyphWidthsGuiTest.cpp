#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "apply/ConflictCheck.h"
#include "controls/WxText.h"
#include "editor/NameEditor.h"
#include "support/FakeFileSystem.h"
#include "view/CommandStrip.h"
#include "view/EditorPainter.h"
#include "view/GlyphWidths.h"
#include "view/NameWidthBounds.h"
#include "view/ViewGeometry.h"

namespace nomvarix::test {
namespace {

/// Names that kern, join in ligatures, mix wide and narrow letters, scripts and marks.
std::vector<std::u16string> AwkwardNames(unsigned seed, int count) {
  const std::u16string letters =
      u"AVAWATAYLTLYPAFAToTaVaWaYoffiflfjil1|.,;:-_ ()[]WMmw@%0123456789\u00C0\u00C9\u00E9\u00FC\u00DF\u00E6"
      u"\u0416\u03A9\u4E2D\u6587\u65E5\u00A0\u2026\u0301\u0627\u0644\u0915\u094D\u0937";
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> length(1, 60), letter(0, static_cast<int>(letters.size()) - 1);
  std::vector<std::u16string> names;
  for (int i = 0; i < count; ++i) {
    std::u16string name;
    for (int k = length(random); k > 0; --k) name.push_back(letters[static_cast<std::size_t>(letter(random))]);
    names.push_back(name);
  }
  names.push_back(u"AVAVAVAVAVAVAVAVAVAV");
  names.push_back(u"WWWWWWWWWWWWWWWWWWWW");
  names.push_back(std::u16string(u"\xD83D\xDE00 \xDC80 x"));
  return names;
}

TEST(GlyphWidthsGuiTest, NoNameIsWiderThanItsBoundAndTheDividerIsTheOneMeasuringEveryNameGives) {
  wxBitmap bitmap(10, 10, 24);
  wxMemoryDC dc(bitmap);
  const ViewGeometry geometry(96);
  const std::vector<std::u16string> names = AwkwardNames(7, 1500);
  FakeFileSystem fs;
  fs.AddFolder(u"/f/", names);
  NameEditor editor;
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{}));
  const int extra = geometry.markerColumnWidth + geometry.textMargin + 8;
  GlyphWidthCache cache;
  // The first font is the bounds' reference; the others scale its sums, smaller and larger.
  NameWidthBounds bounds(cache);
  for (const int size : {23, 13, 9, 17, 31, 44}) {
    const ViewFonts fonts(size);
    dc.SetFont(fonts.nameFont);
    GlyphWidths& widths = cache.For(fonts.nameFont);
    int widest = 0;
    for (const std::u16string& name : names) {
      const int measured = dc.GetTextExtent(ToWx(name)).x;
      widest = std::max(widest, measured);
      if (const auto bound = widths.UpperBound(dc, name)) {
        ASSERT_GE(*bound, measured) << "font " << size << ", name " << ToWx(name).utf8_string();
      }
    }
    // Wide enough that neither the least nor the most divider hides the widest name.
    const int clientWidth = 3 * (widest + extra) + 3;
    const auto divider = [&](int width) {
      return MeasureDividerX(dc, editor.Names(), editor.ListGeneration(), fonts.nameFont, cache, bounds, geometry, width);
    };
    EXPECT_EQ(divider(clientWidth), widest + extra) << "font " << size;
    EXPECT_EQ(divider(clientWidth - 30), clientWidth / 3 - 10);
  }
  EXPECT_EQ(&cache.For(ViewFonts(13).nameFont), &cache.For(ViewFonts(13).nameFont));
  EXPECT_NE(&cache.For(ViewFonts(13).nameFont), &cache.For(ViewFonts(17).nameFont));
}

/// The editor painted with the cell font's own width as the grid, with and without the table that
/// lets runs of cells be drawn at once.
wxImage PaintNames(const std::vector<std::u16string>& names, int charWidthChange, GlyphWidths* cellWidths) {
  FakeFileSystem fs;
  fs.AddFolder(u"/f/", names);
  NameEditor editor;
  EXPECT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{}));
  const ViewGeometry geometry(96);
  const ViewFonts fonts(19);
  wxBitmap bitmap(900, 500, 24);
  wxMemoryDC dc(bitmap);
  dc.SetFont(fonts.cellFont);
  editor.SetMetrics({.lineHeight = 26, .charWidth = dc.GetCharWidth() + charWidthChange, .textTop = geometry.TextTop(),
                     .dividerX = 150, .textMargin = geometry.textMargin, .clientWidth = 900, .clientHeight = 500});
  // Changed cells in red beside unchanged ones, and a selection over some of them.
  editor.SetSelection({1, 5, 3, 9}, {5, 9});
  editor.TypeChar(u'Q');
  editor.SetSelection({0, 6, 2, 12}, {6, 12});
  editor.MarkSelectionCells();
  ConflictLinks links;
  CommandStrip scope(CommandStrip::Direction::FromLeft, 96);
  CommandStrip commands(CommandStrip::Direction::FromRight, 96);
  PaintEditor(dc, {editor, links, geometry, fonts, PaintFlags{}, scope, commands, cellWidths});
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

bool SamePixels(const wxImage& a, const wxImage& b) {
  return a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

TEST(GlyphWidthsGuiTest, CellsDrawnInRunsLookExactlyAsCellsDrawnOneByOne) {
  const std::vector<std::u16string> names = {
      u"plain_ascii name-01.txt", u"Wide\u4E2D\u6587 and narrow.jpg", u"e\u0301 marks x\u0627\u0644y.png",
      std::u16string(u"pair \xD83D\xDE00 lone \xDC80 end"), u"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW.long",
      u"iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii.long", u"tab\there", u"\u00C0\u00E9\u00DF\u0416\u03A9 ok",
      u"\u05E9\u05DC\u05D5\u05DD 12 \u05E2\u05D5\u05DC\u05DD.txt", u"ab\u202Ecd ef\u202C gh"};
  for (const int change : {0, 3}) {
    GlyphWidths widths;
    EXPECT_TRUE(SamePixels(PaintNames(names, change, &widths), PaintNames(names, change, nullptr)))
        << "cell width changed by " << change;
  }
}

}  // namespace
}  // namespace nomvarix::test
