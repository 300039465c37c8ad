#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include "apply/ConflictCheck.h"
#include "editor/NameEditor.h"
#include "support/FakeFileSystem.h"
#include "text/Utf16.h"
#include "view/CommandStrip.h"
#include "view/EditorPainter.h"
#include "view/GlyphWidths.h"
#include "view/NameWidthBounds.h"
#include "view/Palette.h"
#include "view/ViewGeometry.h"
#include "view/ViewStrips.h"

// Colours print as their channels in failure messages.
inline void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << "RGB(" << int(colour.Red()) << ", " << int(colour.Green()) << ", " << int(colour.Blue()) << ")";
}

namespace nomvarix::test {
namespace {

constexpr int kLineHeight = 20;
constexpr int kCharWidth = 10;
constexpr int kDividerX = 200;
constexpr int kMargin = 20;

/// An editor over the given files, painted at 96 dots per inch into a bitmap with a fixed grid.
class EditorPaintGuiTest : public ::testing::Test {
 protected:
  EditorPaintGuiTest() {
    scopeStrip.SetBackground(palette::StripBand());
    commandStrip.SetBackground(palette::StripBand());
  }

  void Load(const std::vector<std::u16string>& names) {
    fs.AddFolder(u"/f/", names);
    ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, false}));
  }

  wxImage Paint(int width = 800, int height = 400, int dividerX = kDividerX) {
    editor.SetMetrics({.lineHeight = kLineHeight, .charWidth = kCharWidth, .textTop = geometry.TextTop(),
                       .dividerX = dividerX, .textMargin = kMargin, .clientWidth = width, .clientHeight = height});
    editor.MarkSelectionCells();
    wxBitmap bitmap(width, height, 24);
    {
      wxMemoryDC dc(bitmap);
      PaintEditor(dc, Input());
    }
    return bitmap.ConvertToImage();
  }

  PaintInput Input() { return {editor, links, geometry, fonts, flags, scopeStrip, commandStrip}; }

  static wxColour At(const wxImage& image, int x, int y) {
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
  }
  int CellX(int column) const { return kDividerX + kMargin + column * kCharWidth; }
  int RowY(int line) const { return geometry.TextTop() + line * kLineHeight; }
  /// A pixel of the cell's top edge, where no glyph reaches.
  wxColour CellBackground(const wxImage& image, int line, int column) const {
    return At(image, CellX(column) + kCharWidth / 2, RowY(line) + 1);
  }
  /// Whether the cell holds a pixel whose colour `matches`.
  template <typename Match>
  static bool AnyPixel(const wxImage& image, const wxRect& rect, Match matches) {
    for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y) {
      for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x) {
        if (matches(At(image, x, y))) return true;
      }
    }
    return false;
  }
  wxRect Cell(int line, int column) const { return wxRect(CellX(column), RowY(line), kCharWidth, kLineHeight); }

  FakeFileSystem fs;
  NameEditor editor;
  ConflictLinks links;
  ViewGeometry geometry{96};
  ViewFonts fonts{18};
  PaintFlags flags;
  CommandStrip scopeStrip{CommandStrip::Direction::FromLeft, 96};
  CommandStrip commandStrip{CommandStrip::Direction::FromRight, 96};
};

TEST(ShadesGuiTest, DarkenAndLightenTruncateInSinglePrecision) {
  EXPECT_EQ(palette::StripBand(), wxColour(138, 138, 138));
  EXPECT_EQ(palette::StatusCell(), wxColour(184, 184, 184));
  EXPECT_EQ(palette::BandSeparator(), wxColour(161, 161, 161));
  EXPECT_EQ(palette::MarkerColumn(), wxColour(218, 218, 218));
  EXPECT_EQ(palette::RulerBack(), wxColour(204, 204, 204));
  EXPECT_EQ(palette::RulerTick(), wxColour(178, 178, 178));
  EXPECT_EQ(palette::RulerTenthTick(), wxColour(101, 101, 101));
  EXPECT_EQ(palette::TextMargin(), wxColour(242, 242, 242));
  EXPECT_EQ(palette::SelectedRow(), wxColour(207, 210, 229));
  EXPECT_EQ(palette::CurrentRow(), wxColour(232, 236, 255));
  EXPECT_EQ(palette::BlockBack(), wxColour(242, 244, 255));
  EXPECT_EQ(palette::DragCaret(), wxColour(161, 163, 178));
  EXPECT_EQ(palette::StatusText(), wxColour(76, 76, 76));
  EXPECT_EQ(Darken(wxColour(240, 100, 0), 1.2f), wxColour(255, 120, 0)) << "brightening stops at 255";
}

TEST_F(EditorPaintGuiTest, ABlockFillsItsCellsAndTheBlockBackgroundOnly) {
  Load({u"abcdefgh", u"abcdefgi", u"abd"});
  editor.SetSelection({0, 2, 2, 5}, {2, 5});
  const wxImage image = Paint();
  for (int column : {2, 3, 4}) EXPECT_EQ(CellBackground(image, 0, column), palette::kSelectedCell) << column;
  EXPECT_NE(CellBackground(image, 0, 1), palette::kSelectedCell);
  EXPECT_EQ(CellBackground(image, 0, 5), palette::BlockBack()) << "the block background reaches its right edge";
  EXPECT_EQ(CellBackground(image, 2, 4), palette::BlockBack()) << "a short line has no cell there";
  EXPECT_EQ(CellBackground(image, 0, 6), palette::kTextBack);
}

TEST_F(EditorPaintGuiTest, ChangedCharactersAreRedOnlyWhileTypeChangedInRedIsOn) {
  Load({u"aaaa", u"bbbb"});
  editor.SetNewName(0, u"aXaa");
  const auto red = [](const wxColour& c) { return c.Red() > 120 && c.Green() < 60 && c.Blue() < 60; };
  const auto dark = [](const wxColour& c) { return c.Red() < 60 && c.Green() < 60 && c.Blue() < 60; };
  wxImage image = Paint();
  EXPECT_TRUE(AnyPixel(image, Cell(0, 1), red));
  EXPECT_FALSE(AnyPixel(image, Cell(0, 0), red)) << "an unchanged character stays black";
  EXPECT_TRUE(AnyPixel(image, Cell(0, 0), dark));

  flags.changedRed = false;
  image = Paint();
  EXPECT_FALSE(AnyPixel(image, Cell(0, 1), red));
  EXPECT_TRUE(AnyPixel(image, Cell(0, 1), dark));
  const wxRect marker(kDividerX - 25, RowY(0), 20, kLineHeight);
  EXPECT_TRUE(AnyPixel(image, marker, [](const wxColour& c) { return c == palette::kChangedTriangle; }))
      << "the changed-name triangle stays";
  EXPECT_FALSE(AnyPixel(image, wxRect(kDividerX - 25, RowY(1), 20, kLineHeight),
                        [](const wxColour& c) { return c == palette::kChangedTriangle; }));
}

TEST_F(EditorPaintGuiTest, TheErrorBarSitsLeftOfColumnZeroOnMarkedLines) {
  Load({u"one.txt", u"two.txt"});
  editor.SetErrorMark(1, true);
  const wxImage image = Paint();
  EXPECT_EQ(At(image, CellX(0) - 2, RowY(1) + 5), palette::kErrorBar);
  EXPECT_NE(At(image, CellX(0) - 2, RowY(0) + 5), palette::kErrorBar);
}

TEST_F(EditorPaintGuiTest, TheLockedBandCoversColumnZeroOnlyInExtensionScope) {
  Load({u"a.jpg", u"b.png"});
  EXPECT_NE(CellBackground(Paint(), 0, 0), palette::kLockedBand);
  ASSERT_TRUE(editor.SetEditScope(EditScope::Extension));
  const wxImage image = Paint();
  EXPECT_EQ(CellBackground(image, 0, 0), palette::kLockedBand);
  EXPECT_EQ(At(image, CellX(0) + 5, image.GetHeight() - 2), palette::kLockedBand) << "full height";
  EXPECT_NE(CellBackground(image, 0, 1), palette::kLockedBand);
}

TEST_F(EditorPaintGuiTest, TheDividerFitsShortNamesAndNeverPassesAThirdOfTheWidth) {
  Load({u"a", u"b"});
  wxBitmap bitmap(10, 10, 24);
  wxMemoryDC dc(bitmap);
  GlyphWidthCache widths;
  NameWidthBounds bounds(widths);
  EXPECT_EQ(MeasureDividerX(dc, editor.Names(), editor.ListGeneration(), fonts.nameFont, widths, bounds, geometry, 1200),
            140);

  fs.AddFolder(u"/long/", {std::u16string(200, u'w')});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/long/", SortOrder{}));
  EXPECT_EQ(MeasureDividerX(dc, editor.Names(), editor.ListGeneration(), fonts.nameFont, widths, bounds, geometry, 900),
            300);
}

TEST_F(EditorPaintGuiTest, ControlCharactersOfANameStayOnItsRowAsVisibleSymbols) {
  // One name per case, alone in the list: the row below it must stay empty in both columns, and
  // the character's own cell must show a symbol.
  const struct {
    std::u16string name;
    int column;  ///< of the control character
  } cases[] = {{u"WW\nWW", 2}, {u"\u00E9\r\u65E5\u8A18", 1}, {u"\x1b" u"\u00DF", 0}, {u"x\r\nyy", 1}};
  const auto dark = [](const wxColour& c) { return c.Red() < 128 && c.Green() < 128 && c.Blue() < 128; };
  for (const auto& c : cases) {
    const std::u16string folder = u"/" + c.name + u"/";
    fs.AddFolder(folder, {c.name});
    ASSERT_TRUE(editor.LoadFolder(fs, folder, SortOrder{false, false}));
    const wxImage image = Paint();
    // The glyphs of the row reach a little below it: a second line of text would start lower.
    const int below = RowY(1) + 6;
    const wxRect nameBelow(4, below, kDividerX - 20, kLineHeight);
    EXPECT_FALSE(AnyPixel(image, nameBelow, dark)) << "name column, " << ToUtf8(c.name);
    const wxRect cellsBelow(CellX(0), below, 10 * kCharWidth, kLineHeight);
    EXPECT_FALSE(AnyPixel(image, cellsBelow, dark)) << "cells, " << ToUtf8(c.name);
    EXPECT_TRUE(AnyPixel(image, Cell(0, c.column), dark)) << "symbol, " << ToUtf8(c.name);
  }
}

TEST_F(EditorPaintGuiTest, AnEmptyListPaintsTheBandsAndNoRows) {
  const wxImage image = Paint();
  EXPECT_EQ(At(image, 2, 2), palette::StripBand());
  EXPECT_EQ(At(image, CellX(3), RowY(0) + 5), palette::kTextBack);
  EXPECT_EQ(At(image, 50, RowY(0) + 5), palette::kPane);
}

/// The view's command strip painted into a band of the given width.
class CommandStripGuiTest : public ::testing::Test {
 protected:
  CommandStripGuiTest() {
    strip.SetBackground(palette::StripBand());
    AddCommandButtons(strip);
  }
  void Paint(int width) {
    wxBitmap bitmap(width, 39, 24);
    wxMemoryDC dc(bitmap);
    strip.Paint(dc, wxRect(0, 0, width, 39));
  }
  int Width(int id) const { return strip.Find(id)->rect.GetWidth(); }

  CommandStrip strip{CommandStrip::Direction::FromRight, 96};
};

TEST_F(CommandStripGuiTest, LaysOutFromTheRightAndAHiddenButtonTakesNoSpace) {
  Paint(1400);
  EXPECT_EQ(strip.Find(strip::kApply)->rect.GetRight() + 1, 1400 - 8) << "the last shown button ends at the padding";
  EXPECT_EQ(strip.Find(strip::kValidate)->rect.GetRight() + 1 + 8, strip.Find(strip::kApply)->rect.GetLeft());
  const int filterLeft = strip.Find(strip::kFilter)->rect.GetLeft();
  const wxRect apply = strip.Find(strip::kApply)->rect;
  ASSERT_TRUE(strip.SetVisible(strip::kRevert, true));
  EXPECT_FALSE(strip.SetVisible(strip::kRevert, true)) << "no change, no repaint";
  Paint(1400);
  EXPECT_EQ(strip.Find(strip::kApply)->rect, apply) << "Apply keeps its place when Revert shows";
  EXPECT_EQ(strip.Find(strip::kRevert)->rect.GetRight() + 1 + 8, apply.GetLeft());
  EXPECT_EQ(strip.Find(strip::kFilter)->rect.GetLeft(), filterLeft - Width(strip::kRevert) - 8);
  EXPECT_EQ(strip.Area().GetLeft(), strip.Find(strip::kFilter)->rect.GetLeft());
}

TEST_F(CommandStripGuiTest, NarrowingCompressesTheButtonsAndSeparators) {
  Paint(1400);
  const int undo = Width(strip::kUndo);
  const int macro = Width(strip::kMacro);
  // Narrower than the buttons at their full width, wide enough for them compressed.
  Paint(1400 - strip.Area().GetLeft() - 10);
  ASSERT_TRUE(strip.OverflowRect().IsEmpty());
  EXPECT_EQ(Width(strip::kUndo), undo - 16) << "push buttons lose 16 pixels";
  EXPECT_EQ(Width(strip::kMacro), macro) << "group buttons keep their width";
  EXPECT_EQ(strip.Find(strip::kRedo)->rect.GetLeft() - strip.Find(strip::kUndo)->rect.GetRight() - 1, 8)
      << "buttons stay 8 pixels apart";
  EXPECT_EQ(strip.Find(strip::kCopy)->rect.GetLeft() - strip.Find(strip::kMacro)->rect.GetRight() - 1, 2 * 8)
      << "a separator keeps only the spacing on its two sides";
}

TEST_F(CommandStripGuiTest, APressReleasedElsewhereRunsNothing) {
  std::vector<unsigned> clicked;
  strip.SetCallback([&](unsigned id) { clicked.push_back(id); });
  Paint(1400);
  const wxPoint apply = strip.Find(strip::kApply)->rect.GetTopLeft() + wxPoint(5, 5);
  EXPECT_TRUE(strip.OnButtonDown(apply));
  EXPECT_TRUE(strip.OnButtonUp(apply + wxPoint(0, 100)));
  EXPECT_TRUE(clicked.empty());
  strip.OnButtonDown(apply);
  strip.OnButtonUp(apply);
  EXPECT_EQ(clicked, std::vector<unsigned>{strip::kApply});
  EXPECT_EQ(CommandOfStripButton(strip::kApply), 32774);
}

TEST_F(CommandStripGuiTest, TheMacroGroupShowsAndHidesItsButtons) {
  Paint(1400);
  const wxPoint macro = strip.Find(strip::kMacro)->rect.GetTopLeft() + wxPoint(5, 5);
  strip.OnButtonDown(macro);
  strip.OnButtonUp(macro);
  EXPECT_TRUE(strip.Find(strip::kRecord)->visible);
  EXPECT_TRUE(strip.Find(strip::kPlay)->visible);
  Paint(1400);
  const wxPoint again = strip.Find(strip::kMacro)->rect.GetTopLeft() + wxPoint(5, 5);
  strip.OnButtonDown(again);
  strip.OnButtonUp(again);
  EXPECT_FALSE(strip.Find(strip::kRecord)->visible);
}

TEST(CaptionFitGuiTest, ACaptionShrinksToItsFirstLetterThenToNothing) {
  const auto need = [](const wxString& text) { return static_cast<int>(text.length()) * 10 + 16; };
  EXPECT_EQ(FitCaption("Undo", 56, need), "Undo");
  EXPECT_EQ(FitCaption("Undo", 55, need), "U");
  EXPECT_EQ(FitCaption("Undo", 26, need), "U");
  EXPECT_EQ(FitCaption("Undo", 25, need), "");
}

}  // namespace
}  // namespace nomvarix::test
