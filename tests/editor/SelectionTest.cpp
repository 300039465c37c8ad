#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

using SelectionTest = test::EditorFixture;
using Lines = test::EditorFixture::Lines;

std::string SelectedMarks(const NameEditor& editor, std::size_t line) {
  std::string out;
  for (const GlyphCell& cell : editor.LineCells(line)) out.push_back(cell.selected ? '#' : '.');
  return out;
}

TEST_F(SelectionTest, ClampingKeepsTheRectangleInsideTheListAndItsWidestLine) {
  Load({u"ab", u"abcdef", u"x"});
  editor.SetSelection({-5, 9, 1, 40}, {7, 50});
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 6}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 6}));
  editor.SetSelection({2, 2, 0, 5}, {2, 5});  // the widest line of the span is "x"
  EXPECT_EQ(Selection(), (BlockSelection{2, 2, 0, 1}));
  EXPECT_EQ(editor.WidestLineInRange(-3, 1), 6);
  EXPECT_EQ(editor.WidestLineInRange(5, 9), 0);

  fs.AddFolder(u"/empty/", {});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/empty/", {}));
  editor.SetSelection({0, 0, 0, 0}, {0, 0});
  EXPECT_TRUE(Selection().IsNone());
  EXPECT_EQ(editor.Caret(), TextPos{});
}

TEST_F(SelectionTest, MarksFollowTheRectangleAndTheHelpers) {
  Load({u"ab", u"abcdef", u"x"});
  Block(0, 2, 1, 4);
  EXPECT_EQ(SelectedMarks(editor, 0), ".#");
  EXPECT_EQ(SelectedMarks(editor, 1), ".###..");
  EXPECT_EQ(SelectedMarks(editor, 2), ".");
  editor.MarkColumnsOnAllLines(3, 1);
  EXPECT_EQ(SelectedMarks(editor, 1), ".##...");
  EXPECT_EQ(SelectedMarks(editor, 0), ".#");
  editor.SetDragAnchor({1, 5});
  editor.MarkDragRectangle(0, 4);
  EXPECT_EQ(SelectedMarks(editor, 0), "..");
  EXPECT_EQ(SelectedMarks(editor, 1), "....#.");
  EXPECT_EQ(SelectedMarks(editor, 2), ".");
}

TEST_F(SelectionTest, ARangeOfCellsIsLaidOutAsInTheWholeLineAndNoMore) {
  std::u16string text(NameEditor::kMaxLineLength, u'\u00E9');
  text[4000] = u'\u65E5';
  Load({u"\u00E9\u00E9.txt"});
  editor.SetNewName(0, text);
  editor.SetMetrics({.lineHeight = 10, .charWidth = 7});
  Block(0, 0, 3990, 4005);
  editor.MarkSelectionCells();
  const std::vector<GlyphCell> whole = editor.LineCells(0);
  ASSERT_EQ(whole.size(), text.size());
  const struct {
    std::size_t from, count, expected;
  } cases[] = {{0, 3, 3}, {3989, 20, 20}, {4090, 100, 6}, {4096, 10, 0}, {9000, 5, 0}, {0, 0, 0}};
  std::vector<GlyphCell> cells;
  for (const auto& c : cases) {
    editor.LayOutCells(0, cells, c.from, c.count);
    ASSERT_EQ(cells.size(), c.expected) << c.from;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const GlyphCell& cell = whole[c.from + i];
      EXPECT_TRUE(cells[i].ch == cell.ch && cells[i].selected == cell.selected && cells[i].changed == cell.changed &&
                  cells[i].x == cell.x)
          << "column " << c.from + i;
    }
  }
  editor.LayOutCells(0, cells, 3995, 10);
  EXPECT_EQ(cells[5].ch, u'\u65E5');
  EXPECT_EQ(cells[5].x, 4000 * 7);
  EXPECT_TRUE(cells[9].selected);
  editor.LayOutCells(0, cells, 1, 1);
  EXPECT_FALSE(cells[0].changed);  // "é" where the name on disk had one
}

TEST_F(SelectionTest, PositionFromPointTruncatesToTheColumnBefore) {
  Load({u"a.txt", u"b.txt", u"c.txt", u"d.txt"});
  editor.SetMetrics({.lineHeight = 20, .charWidth = 10, .textTop = 30, .dividerX = 100, .textMargin = 4});
  EXPECT_EQ(editor.PositionFromPoint(104 + 29, 30 + 45), (TextPos{2, 2}));  // right half of column 2
  EXPECT_EQ(editor.PositionFromPoint(102, 10), (TextPos{0, 0}));           // in the margin, above the text
  EXPECT_EQ(editor.PositionFromPoint(50, 900), (TextPos{3, 0}));           // on the disk names, below the end
  editor.SetTopLine(1);
  editor.SetLeftColumn(2);
  EXPECT_EQ(editor.PositionFromPoint(104 + 5, 30 + 5), (TextPos{1, 2}));
  EXPECT_EQ(editor.PositionFromPoint(102, 30), (TextPos{1, 2}));
  editor.SetEditScope(EditScope::Extension);
  editor.SetLeftColumn(0);
  EXPECT_EQ(editor.PositionFromPoint(104, 30), (TextPos{1, 1}));  // never before the "."
  EXPECT_EQ(editor.PositionFromPoint(10, 30).column, 1);
}

TEST_F(SelectionTest, SelectAllCoversTheLongestLine) {
  fs.AddFolder(u"/empty/", {});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/empty/", {}));
  EXPECT_FALSE(editor.SelectAll());
  Load({u"ab", u"abcdef", u"x"});
  editor.SetMetrics({.lineHeight = 10, .charWidth = 8, .clientHeight = 20});
  EXPECT_TRUE(editor.SelectAll());
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 0, 6}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 6}));
  EXPECT_EQ(SelectedMarks(editor, 1), "######");
  EXPECT_EQ(editor.TopLine(), 1);  // the last line scrolled into view
}

TEST_F(SelectionTest, ScrollBarRequestsStayWithinTheListAndTheLongestLine) {
  Lines lines;
  for (char16_t c = u'a'; c <= u't'; ++c) lines.push_back(std::u16string(c == u't' ? 45 : 5, c));
  Load(lines);
  editor.SetMetrics({.lineHeight = 20, .charWidth = 10, .textTop = 30, .dividerX = 100, .textMargin = 4,
                     .clientWidth = 404, .clientHeight = 230});
  EXPECT_FALSE(editor.ScrollVertically(ScrollRequest::LineBack));
  EXPECT_TRUE(editor.ScrollVertically(ScrollRequest::PageForward));
  EXPECT_EQ(editor.TopLine(), 10);
  EXPECT_FALSE(editor.ScrollVertically(ScrollRequest::LineForward)) << "20 lines, 10 visible";
  EXPECT_TRUE(editor.ScrollVertically(ScrollRequest::Thumb, 4));
  EXPECT_EQ(editor.TopLine(), 4);
  EXPECT_FALSE(editor.ScrollVertically(ScrollRequest::First)) << "the vertical bar ignores top and bottom";
  EXPECT_TRUE(editor.ScrollVertically(ScrollRequest::PageBack));
  EXPECT_EQ(editor.TopLine(), 0);

  EXPECT_TRUE(editor.ScrollHorizontally(ScrollRequest::Last));
  EXPECT_EQ(editor.LeftColumn(), 15) << "45 columns, 30 visible";
  EXPECT_FALSE(editor.ScrollHorizontally(ScrollRequest::Thumb, 99)) << "the thumb stops at the last screenful";
  EXPECT_TRUE(editor.ScrollHorizontally(ScrollRequest::First));
  EXPECT_EQ(editor.LeftColumn(), 0);
}

TEST_F(SelectionTest, ScrollingBringsLinesAndColumnsIntoView) {
  Lines lines;
  for (char16_t c = u'a'; c <= u't'; ++c) lines.push_back(std::u16string(30, c));
  Load(lines);
  editor.SetMetrics({.lineHeight = 20, .charWidth = 10, .textTop = 30, .dividerX = 100, .textMargin = 4,
                     .clientWidth = 404, .clientHeight = 230});
  ASSERT_EQ(editor.VisibleLineCount(), 10);
  ASSERT_EQ(editor.VisibleColumnCount(), 30);
  EXPECT_FALSE(editor.ScrollLineIntoView(9));
  EXPECT_TRUE(editor.ScrollLineIntoView(10));
  EXPECT_EQ(editor.TopLine(), 1);
  EXPECT_TRUE(editor.ScrollLineIntoView(0));
  EXPECT_EQ(editor.TopLine(), 0);
  EXPECT_FALSE(editor.ScrollColumnIntoView(30));  // a caret at the right edge is visible
  EXPECT_TRUE(editor.ScrollColumnIntoView(31));
  EXPECT_EQ(editor.LeftColumn(), 1);
  EXPECT_EQ(editor.VerticalScrollBar(), (ScrollBarValues{0, 19, 10, 0}));
  EXPECT_EQ(editor.HorizontalScrollBar(), (ScrollBarValues{0, 29, 30, 1}));
  // A load keeps the first column but returns to the first line.
  editor.ScrollLineIntoView(15);
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", {}));
  EXPECT_EQ(editor.TopLine(), 0);
  EXPECT_EQ(editor.LeftColumn(), 1);
  EXPECT_TRUE(Selection().IsNone());

  editor.SetMetrics({});
  EXPECT_EQ(editor.VisibleLineCount(), 0);
}

}  // namespace
}  // namespace nomvarix
