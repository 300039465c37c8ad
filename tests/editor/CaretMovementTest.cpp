#include <gtest/gtest.h>

#include "editor/CaretMovement.h"
#include "editor/KeyMap.h"
#include "editor/VirtualKey.h"
#include "editor/WordSeparators.h"
#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

class CaretMovementTest : public test::EditorFixture {
 protected:
  /// Ten rows fit the window; 40 columns.
  void LoadWithRows(const Lines& lines) {
    Load(lines);
    editor.SetMetrics({.lineHeight = 10, .charWidth = 10, .textTop = 0, .dividerX = 0, .textMargin = 0,
                       .clientWidth = 400, .clientHeight = 100});
  }
  /// Loads the folder again: lines, but no caret.
  void ForgetCaret() { ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, true})); }
  bool Press(CaretKey key, bool shift = false, bool ctrl = false) { return MoveCaret(editor, key, shift, ctrl); }
  void Expect(BlockSelection selection, TextPos caret) {
    EXPECT_EQ(Selection(), selection);
    EXPECT_EQ(editor.Caret(), caret);
  }
  bool AnyCellMarked() const {
    for (std::size_t line = 0; line < editor.LineCount(); ++line) {
      if (editor.LineHasMarks(static_cast<std::int32_t>(line))) return true;
    }
    return false;
  }
};

test::EditorFixture::Lines Numbered(int count) {
  test::EditorFixture::Lines lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(u"line" + std::u16string{static_cast<char16_t>(u'0' + i / 10), static_cast<char16_t>(u'0' + i % 10)});
  }
  return lines;
}

TEST_F(CaretMovementTest, WithoutACaretSomeKeysMakeOneAndOthersDoNothing) {
  LoadWithRows(Numbered(30));
  for (CaretKey key : {CaretKey::Up, CaretKey::Home, CaretKey::End}) {
    Press(key);
    EXPECT_TRUE(Selection().IsNone());
  }
  for (CaretKey key : {CaretKey::Left, CaretKey::Right, CaretKey::Down, CaretKey::PageUp}) {
    ForgetCaret();
    Press(key);
    Expect({0, 0, 0, 0}, {0, 0});
  }
  ForgetCaret();
  Press(CaretKey::PageDown);
  Expect({9, 9, 0, 0}, {9, 0});
}

TEST_F(CaretMovementTest, AnInsertionPoint) {
  LoadWithRows({u"a1cdef", u"a2c", u"a3cdef", u"a4", u"a5cdef", u"a6cdef"});
  Caret(5, 2);
  Press(CaretKey::Up, true);  // Shift+Up: a column caret over lines 4 and 5, the caret on 4
  Expect({4, 5, 2, 2}, {4, 2});

  Caret(0, 2);
  Press(CaretKey::Up, true);  // at line 0 nothing changes
  Expect({0, 0, 2, 2}, {0, 2});
  Press(CaretKey::Up);
  Expect({0, 0, 2, 2}, {0, 2});

  Caret(2, 3);
  Press(CaretKey::Left);
  Expect({2, 2, 2, 2}, {2, 2});
  Press(CaretKey::Left, true);  // Shift: from the new column to the old one, the caret at the left
  Expect({2, 2, 1, 2}, {2, 1});

  Caret(3, 2);  // "a4": Right stops at the end of the line
  Press(CaretKey::Right);
  Expect({3, 3, 2, 2}, {3, 2});

  Caret(1, 1);
  Press(CaretKey::Down, true);
  Expect({1, 2, 1, 1}, {2, 1});
  Caret(5, 1);
  Press(CaretKey::Down);  // the last line: nothing
  Expect({5, 5, 1, 1}, {5, 1});
}

TEST_F(CaretMovementTest, AColumnCaret) {
  LoadWithRows({u"abcdef", u"abcdef", u"abcdef", u"abcdef"});
  editor.SetSelection({1, 2, 3, 3}, {2, 3});
  Press(CaretKey::Left);
  Expect({1, 2, 2, 2}, {2, 2});
  Press(CaretKey::Left, true);  // a block one column wide to its left
  Expect({1, 2, 1, 2}, {2, 1});

  editor.SetSelection({1, 2, 3, 3}, {2, 3});
  Press(CaretKey::Right, true);
  Expect({1, 2, 3, 4}, {2, 4});

  editor.SetSelection({1, 2, 0, 0}, {2, 0});
  Press(CaretKey::Left);  // stays at column 0
  Expect({1, 2, 0, 0}, {2, 0});

  editor.SetSelection({1, 2, 2, 2}, {2, 2});
  Press(CaretKey::Up);  // both edges move, the caret at the bottom
  Expect({0, 1, 2, 2}, {1, 2});
  Press(CaretKey::Down, true);  // caret at the bottom: the bottom edge moves
  Expect({0, 2, 2, 2}, {2, 2});
  editor.SetSelection({1, 3, 2, 2}, {1, 2});
  Press(CaretKey::Up, true);  // caret at the top: the top edge moves
  Expect({0, 3, 2, 2}, {0, 2});
}

TEST_F(CaretMovementTest, ALineSelection) {
  LoadWithRows({u"abcdef", u"abcdef", u"abcdef"});
  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Left);  // collapses to its left edge
  Expect({1, 1, 1, 1}, {1, 1});

  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Left, true);  // caret at the right: the right edge moves
  Expect({1, 1, 1, 3}, {1, 3});
  editor.SetSelection({1, 1, 1, 4}, {1, 1});
  Press(CaretKey::Left, true);  // caret at the left: the left edge moves
  Expect({1, 1, 0, 4}, {1, 0});

  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Right);
  Expect({1, 1, 4, 4}, {1, 4});

  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Up);  // an insertion point at the caret's column
  Expect({1, 1, 4, 4}, {1, 4});
  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Up, true);
  Expect({0, 1, 1, 4}, {0, 4});
  editor.SetSelection({1, 1, 1, 4}, {1, 4});
  Press(CaretKey::Down, true);
  Expect({1, 2, 1, 4}, {2, 4});
}

TEST_F(CaretMovementTest, ABlock) {
  LoadWithRows({u"abcdef", u"abcdef", u"abcdef", u"abcdef"});
  editor.SetSelection({1, 2, 1, 4}, {2, 4});  // caret at the bottom right
  Press(CaretKey::Up);  // an insertion point on the top line at the caret's column
  Expect({1, 1, 4, 4}, {1, 4});
  editor.SetSelection({1, 2, 1, 4}, {2, 4});
  Press(CaretKey::Down);  // Down takes the column opposite the caret
  Expect({1, 1, 1, 1}, {1, 1});

  editor.SetSelection({1, 2, 1, 4}, {2, 4});
  Press(CaretKey::Down, true);  // the bottom edge moves down, columns kept
  Expect({1, 3, 1, 4}, {3, 4});
  EXPECT_TRUE(AnyCellMarked());

  editor.SetSelection({1, 2, 1, 4}, {1, 1});  // caret at the top left
  Press(CaretKey::Down, true);
  Press(CaretKey::Down, true);  // the top edge crosses the bottom one: re-ordered
  Expect({2, 3, 1, 4}, {3, 1});

  editor.SetSelection({1, 2, 1, 4}, {2, 4});
  Press(CaretKey::Home);  // a column caret at column 0
  Expect({1, 2, 0, 0}, {2, 0});
  EXPECT_FALSE(AnyCellMarked());
  editor.SetSelection({1, 2, 2, 4}, {2, 4});
  Press(CaretKey::Home, true);
  Expect({1, 2, 0, 4}, {2, 4});
}

TEST_F(CaretMovementTest, EndGoesToTheWidestLineOfTheSpan) {
  LoadWithRows({u"a1", u"a2cdefg", u"a3c"});
  editor.SetSelection({0, 2, 1, 1}, {2, 1});
  Press(CaretKey::End);
  Expect({0, 2, 7, 7}, {2, 7});
  editor.SetSelection({0, 0, 1, 1}, {0, 1});
  Press(CaretKey::End, true);
  Expect({0, 0, 1, 2}, {0, 1});
}

TEST_F(CaretMovementTest, CtrlLeftAndRightJumpOverWords) {
  LoadWithRows({u"abc def"});
  Caret(0, 0);
  Press(CaretKey::Right, false, true);
  EXPECT_EQ(editor.Caret(), (TextPos{0, 3}));
  Press(CaretKey::Right, false, true);  // the separator is passed on its own
  EXPECT_EQ(editor.Caret(), (TextPos{0, 4}));
  Press(CaretKey::Right, false, true);
  EXPECT_EQ(editor.Caret(), (TextPos{0, 7}));
  Press(CaretKey::Left, false, true);
  EXPECT_EQ(editor.Caret(), (TextPos{0, 4}));
  Press(CaretKey::Left, false, true);
  EXPECT_EQ(editor.Caret(), (TextPos{0, 3}));
  Press(CaretKey::Left, false, true);
  EXPECT_EQ(editor.Caret(), (TextPos{0, 0}));

  Caret(0, 7);
  Press(CaretKey::Left, true, true);  // with Shift the word is selected
  Expect({0, 0, 4, 7}, {0, 4});

  EXPECT_EQ(WordEndAfter(u"photo_01.jpg", 0), 5);
  EXPECT_EQ(WordStartBefore(u"photo_01.jpg", 12), 9);
  EXPECT_TRUE(IsWordSeparator(u'\u3000'));  // ideographic space
  EXPECT_FALSE(IsWordSeparator(u'&'));
}

TEST_F(CaretMovementTest, CtrlOnASelectionJumpsFromTheEdgeTheKeyActsOn) {
  // \xDCE9 stands for the undecodable byte E9 of a name on disk.
  LoadWithRows({u"abc def ghi", u"caf\u00E9 \u65E5\u8A18\U0001F600 x\xDCE9y", u"z"});
  const auto ctrl = [&](CaretKey key, bool shift = false) { Press(key, shift, true); };

  Block(0, 0, 4, 5);
  ctrl(CaretKey::Right);  // the word from the right edge on, then collapsed there
  Expect({0, 0, 7, 7}, {0, 7});
  Block(0, 0, 5, 6);
  ctrl(CaretKey::Left);
  Expect({0, 0, 4, 4}, {0, 4});
  Block(0, 0, 4, 7);  // "def": the separators beside it are passed one character at a time
  ctrl(CaretKey::Right);
  Expect({0, 0, 8, 8}, {0, 8});
  Block(0, 0, 4, 7);
  ctrl(CaretKey::Left);
  Expect({0, 0, 3, 3}, {0, 3});

  // With Shift the edge on the caret's side jumps and the other one stays.
  editor.SetSelection({0, 0, 5, 6}, {0, 6});
  ctrl(CaretKey::Right, true);
  Expect({0, 0, 5, 7}, {0, 7});
  ctrl(CaretKey::Left, true);  // back over the anchor: the caret is at the left now
  Expect({0, 0, 4, 5}, {0, 4});
  ctrl(CaretKey::Left, true);
  Expect({0, 0, 3, 5}, {0, 3});
  ctrl(CaretKey::Right, true);
  Expect({0, 0, 4, 5}, {0, 4});

  // Beyond ASCII: an emoji and the undecodable byte are letters of their words.
  Block(1, 1, 6, 7);  // "\u8A18"
  ctrl(CaretKey::Right);
  Expect({1, 1, 9, 9}, {1, 9});
  Block(1, 1, 11, 12);  // "\xDCE9"
  ctrl(CaretKey::Left);
  Expect({1, 1, 10, 10}, {1, 10});
}

TEST_F(CaretMovementTest, CtrlOnAColumnCaretAndABlockMovesEveryLine) {
  LoadWithRows({u"abc def", u"abd efg", u"b"});
  Block(0, 1, 4, 6);
  Press(CaretKey::Right, false, true);  // the word end on the bottom line, a column caret there
  Expect({0, 1, 7, 7}, {1, 7});
  editor.SetSelection({0, 1, 5, 6}, {0, 5});
  Press(CaretKey::Left, false, true);  // the word start on the top line
  Expect({0, 1, 4, 4}, {1, 4});
  editor.SetSelection({0, 1, 5, 6}, {1, 6});
  Press(CaretKey::Left, true, true);  // Shift: the caret's edge goes back over the anchor
  Expect({0, 1, 4, 5}, {1, 4});

  editor.SetSelection({0, 1, 1, 1}, {1, 1});
  Press(CaretKey::Right, false, true);
  Expect({0, 1, 3, 3}, {1, 3});
  Press(CaretKey::Right, true, true);
  Expect({0, 1, 3, 4}, {1, 4});

  // Past the end of the shorter bottom line the word jump does not turn back.
  editor.SetSelection({1, 2, 5, 5}, {2, 5});
  Press(CaretKey::Right, false, true);
  Expect({1, 2, 5, 5}, {2, 5});
  // Nor left of the first column of the extension, which plain keys reach.
  Load({u"a.jpg", u"b.png"});
  ASSERT_TRUE(editor.SetEditScope(EditScope::Extension));
  Caret(0, 0);
  Press(CaretKey::Left, false, true);
  Expect({0, 0, 0, 0}, {0, 0});
}

TEST_F(CaretMovementTest, MovingScrollsTheMovedEdgeIntoView) {
  LoadWithRows(Numbered(30));
  Caret(9, 0);  // the last drawn row
  EXPECT_TRUE(Press(CaretKey::Down));
  EXPECT_EQ(editor.TopLine(), 1);  // scrolled by one, the caret's line is the last drawn row
  EXPECT_EQ(editor.Caret().line, 10);

  Caret(20, 0);
  editor.SetTopLine(15);
  Press(CaretKey::PageUp);  // target 10, shown one row below the top
  EXPECT_EQ(editor.Caret().line, 10);
  EXPECT_EQ(editor.TopLine(), 9);

  Block(12, 12, 1, 4);
  Press(CaretKey::PageDown);  // no highlighted cells are left behind
  EXPECT_EQ(Selection(), (BlockSelection{22, 22, 1, 1}));
  EXPECT_FALSE(AnyCellMarked());
  EXPECT_EQ(editor.TopLine(), 13);

  Caret(0, 0);
  editor.SetTopLine(0);
  EXPECT_FALSE(Press(CaretKey::Right));
}

TEST_F(CaretMovementTest, TabJumpsToTheOppositeCorner) {
  LoadWithRows({u"abcdef", u"abcdef", u"abcdef"});
  Block(0, 2, 1, 4);
  EXPECT_TRUE(JumpToOppositeCorner(editor));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 1}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 4}));
  Caret(1, 1);
  EXPECT_FALSE(JumpToOppositeCorner(editor));
}

TEST(KeyMapTest, CtrlEntriesAndPlainKeys) {
  EXPECT_EQ(MeaningOfKey('C', true).action, KeyAction::Copy);
  EXPECT_EQ(MeaningOfKey('C', false).action, KeyAction::None);
  EXPECT_EQ(MeaningOfKey(vk::kF3, true).action, KeyAction::FindSelected);
  EXPECT_EQ(MeaningOfKey(vk::kF3, false).action, KeyAction::FindNext);
  // Ctrl with a key that has no Ctrl entry is the plain key.
  EXPECT_EQ(MeaningOfKey(vk::kBack, true).action, KeyAction::Backspace);
  const KeyMeaning home = MeaningOfKey(vk::kHome, true);
  EXPECT_EQ(home.action, KeyAction::Move);
  EXPECT_EQ(home.caretKey, CaretKey::Home);
  EXPECT_EQ(MeaningOfKey(vk::kNext, false).caretKey, CaretKey::PageDown);
  EXPECT_TRUE(EndsAtOnce(KeyAction::Undo));
  EXPECT_FALSE(EndsAtOnce(KeyAction::Move));
}

}  // namespace
}  // namespace nomvarix
