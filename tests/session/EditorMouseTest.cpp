#include "session/EditorMouse.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

// Strips 0..30, ruler 31..49, rows of 10 pixels from y 50; divider at 100, text from x 110 in
// cells of 10 pixels; the window is 400 by 150, so ten rows show.
constexpr std::int32_t kRulerY = 40;
constexpr std::int32_t kDividerX = 100;

class EditorMouseTest : public ::testing::Test {
 protected:
  EditorMouseTest() {
    fs.AddFolder(u"/f/", {u"abc def", u"bcd", u"cde fgh", u"defgh"});
    session.LoadFolder(u"/f/");
    editor().SetMetrics({.lineHeight = 10, .charWidth = 10, .textTop = 50, .dividerX = kDividerX, .textMargin = 10,
                         .clientWidth = 400, .clientHeight = 150});
    mouse.SetGeometry({.stripBandHeight = 30, .markerColumnWidth = 20, .dividerGrip = 8, .rowMarkerInset = 5});
  }

  NameEditor& editor() { return session.Editor(); }
  static std::int32_t X(std::int32_t column) { return 110 + column * 10 + 5; }
  static std::int32_t Y(std::int32_t line) { return 50 + line * 10 + 5; }
  void Click(std::int32_t x, std::int32_t y, bool shift = false) {
    mouse.Press(x, y, shift);
    mouse.Release(x, y);
  }
  void Type(std::u16string_view text) {
    for (char16_t ch : text) session.TypeChar(ch);
  }

  test::FakeFileSystem fs;
  MemorySettingsStore settings;
  EditorSession session{fs, settings};
  EditorMouse mouse{session};
};

TEST_F(EditorMouseTest, TheRulerPutsAColumnCaretOnEveryLineAndItsDragSelectsColumns) {
  const MouseResponse press = mouse.Press(X(3), kRulerY, false);
  EXPECT_TRUE(press.capture);
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 3, 3, 3}));
  mouse.Move(X(6), kRulerY, true);
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 3, 3, 6}));
  mouse.Release(X(6), kRulerY);
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 3, 3, 6}));
  EXPECT_EQ(editor().Caret(), (TextPos{3, 3}));

  Click(X(2), kRulerY);  // a click without a drag leaves the column caret
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 3, 2, 2}));
  EXPECT_FALSE(mouse.State().rulerDragActive);
}

TEST_F(EditorMouseTest, TextClicksDragsAndShiftClicks) {
  Click(X(2), Y(1));
  EXPECT_EQ(editor().Selection(), (BlockSelection{1, 1, 2, 2}));
  mouse.Press(X(1), Y(0), false);
  mouse.Move(X(4), Y(2), true);
  EXPECT_TRUE(mouse.State().textDragActive);
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 2, 1, 4}));
  mouse.Release(X(4), Y(2));
  EXPECT_EQ(editor().Caret(), (TextPos{2, 1}));  // the released line, the left column

  Click(X(3), Y(3), true);  // Shift: from the old top left corner to the click
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 3, 1, 3}));

  Click(10, Y(1));  // far left of the divider in the disk names: the whole line
  EXPECT_EQ(editor().Selection(), (BlockSelection{1, 1, 0, 3}));
  Click(10, Y(3), true);
  EXPECT_EQ(editor().Selection(), (BlockSelection{1, 3, 0, 7}));
  EXPECT_EQ(editor().Caret(), (TextPos{3, 0}));
}

TEST_F(EditorMouseTest, TheDividerIsDraggedWithinItsLimits) {
  EXPECT_TRUE(mouse.Press(kDividerX + 3, Y(1), false).capture);
  EXPECT_EQ(mouse.Move(20, Y(1), true).dividerX, 100);
  EXPECT_EQ(mouse.Move(250, Y(1), true).dividerX, 250);
  EXPECT_EQ(mouse.Move(390, Y(1), true).dividerX, 300);
  mouse.Release(390, Y(1));
  EXPECT_FALSE(mouse.State().dividerDragActive);
  EXPECT_EQ(mouse.CursorAt(kDividerX - 20, Y(1)), MouseCursor::Arrow);
  mouse.Move(kDividerX + 2, Y(1), false);
  EXPECT_EQ(mouse.CursorAt(kDividerX + 2, Y(1)), MouseCursor::Resize);
  mouse.Move(X(2), Y(1), false);
  EXPECT_EQ(mouse.CursorAt(X(2), Y(1)), MouseCursor::Beam);
}

TEST_F(EditorMouseTest, RedTrianglesResetNamesAsOneUndoStepEach) {
  Click(X(0), Y(0));
  Type(u"x");  // "xabc def"
  Click(X(0), Y(1));
  Type(u"\u00E9");  // "\u00E9bcd"
  ASSERT_EQ(test::LineTexts(editor().Names())[1], u"\u00E9bcd");

  Click(kDividerX - 10, Y(1));  // the row's triangle
  EXPECT_EQ(test::LineTexts(editor().Names())[1], u"bcd");
  EXPECT_EQ(test::LineTexts(editor().Names())[0], u"xabc def");

  editor().SetErrorMark(2, true);
  Click(kDividerX - 10, kRulerY);  // the header's triangle resets every name
  const Names reset{u"abc def", u"bcd", u"cde fgh", u"defgh"};
  EXPECT_EQ(test::LineTexts(editor().Names()), reset);
  EXPECT_FALSE(editor().Names()[2].errorMark);

  // Each reset is a step of its own: Undo brings the edits back one reset at a time, and Redo
  // after Undo loses nothing.
  const std::pair<Names, bool> steps[] = {
      {{u"xabc def", u"bcd", u"cde fgh", u"defgh"}, true},
      {{u"xabc def", u"\u00E9bcd", u"cde fgh", u"defgh"}, false},
  };
  for (const auto& [texts, marked] : steps) {
    ASSERT_TRUE(session.Undo());
    EXPECT_EQ(test::LineTexts(editor().Names()), texts);
    EXPECT_EQ(editor().Names()[2].errorMark, marked);
  }
  ASSERT_TRUE(session.Redo());
  ASSERT_TRUE(session.Redo());
  EXPECT_EQ(test::LineTexts(editor().Names()), reset);
  ASSERT_TRUE(session.Undo());
  ASSERT_TRUE(session.Redo());
  EXPECT_EQ(test::LineTexts(editor().Names()), reset);

  // A reset that changes no name takes no step.
  const std::size_t stepCount = editor().History().UndoCount();
  Click(kDividerX - 10, kRulerY);
  Click(kDividerX - 10, Y(3));
  EXPECT_EQ(editor().History().UndoCount(), stepCount);
}

TEST_F(EditorMouseTest, DoubleClickSelectsTheWordOrNothingBeyondTheLine) {
  mouse.DoubleClick(X(5), Y(0));
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 0, 4, 7}));
  EXPECT_EQ(editor().Caret(), (TextPos{0, 7}));
  mouse.DoubleClick(X(3), Y(0));  // the separator: the word that ends at it
  EXPECT_EQ(editor().Selection(), (BlockSelection{0, 0, 0, 3}));

  Click(X(1), Y(1));
  EXPECT_FALSE(mouse.DoubleClick(X(6), Y(1)).repaint);  // "bcd" has no column 6
  EXPECT_EQ(editor().Selection(), (BlockSelection{1, 1, 1, 1}));
}

TEST_F(EditorMouseTest, LineDragScrollsAtTheEdgesAndTheWheelStaysInRange) {
  Names many;
  for (char16_t c = u'a'; c <= u't'; ++c) many.push_back(std::u16string(3, c));
  fs.AddFolder(u"/many/", many);
  session.LoadFolder(u"/many/");
  mouse.Press(10, Y(2), false);
  mouse.Move(10, 155, true);  // below the last drawn row: one line further down
  EXPECT_EQ(editor().TopLine(), 1);
  EXPECT_EQ(editor().Selection(), (BlockSelection{2, 10, 0, 3}));
  mouse.Release(10, 155);

  EXPECT_TRUE(mouse.Wheel(-240));
  EXPECT_EQ(editor().TopLine(), 7);
  EXPECT_TRUE(mouse.Wheel(-1200));
  EXPECT_EQ(editor().TopLine(), 10);  // 20 lines, 10 rows
  EXPECT_FALSE(mouse.Wheel(-120));
  EXPECT_TRUE(mouse.Wheel(1200));
  EXPECT_EQ(editor().TopLine(), 0);
}

TEST_F(EditorMouseTest, AnEmptyListIgnoresClicks) {
  fs.AddFolder(u"/empty/", {});
  session.LoadFolder(u"/empty/");
  Click(X(1), Y(1));
  mouse.DoubleClick(X(1), Y(1));
  Click(X(1), kRulerY);
  EXPECT_TRUE(editor().Selection().IsNone());
}

}  // namespace
}  // namespace nomvarix
