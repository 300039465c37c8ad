#include <functional>

#include <gtest/gtest.h>

#include "support/EditorFixture.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using TypingTest = test::EditorFixture;
using Lines = test::EditorFixture::Lines;

TEST_F(TypingTest, APlainCaretInsertsAndMovesRight) {
  Load({u"abcd"});
  Caret(0, 2);
  Type(u"x");
  EXPECT_EQ(Texts(), (Lines{u"abxcd"}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 3}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 0, 3, 3}));
  EXPECT_EQ(editor.Names()[0].newName, u"abxcd");
  EXPECT_EQ(test::ChangedMarks(editor, 0), "..xxx");
}

TEST_F(TypingTest, AnEditPastTheLineBoundIsRefusedForThoseLinesAndTheRestApplies) {
  constexpr std::size_t kMax = NameEditor::kMaxLineLength;
  const std::u16string nearlyFull(kMax - 2, u'\u00E9');  // the file names need not be that long
  const std::u16string huge(50'000, u'\u65E5');
  struct Case {
    const char* name;
    std::function<void()> edit;
    Lines expected;
    std::size_t refused;
  };
  Case cases[] = {
      {"a paste over a column caret", [&] { editor.PasteText(u"xyz"); }, {u"xyza", nearlyFull, u"xyz\u00DF"}, 1},
      {"a huge paste", [&] { editor.PasteText(huge); }, {u"a", nearlyFull, u"\u00DF"}, 3},
      {"typing up to the bound", [&] { Type(u"12"); }, {u"12a", u"12" + nearlyFull, u"12\u00DF"}, 0},
      {"typing past it", [&] { Type(u"123"); }, {u"123a", u"12" + nearlyFull, u"123\u00DF"}, 1},
      {"a whole new line text", [&] { editor.SetLineText(0, huge); }, {u"a", nearlyFull, u"\u00DF"}, 1},
      {"a new name from outside", [&] { editor.SetNewName(2, huge); }, {u"a", nearlyFull, u"\u00DF"}, 1},
  };
  for (Case& c : cases) {
    Load({u"a", u"long", u"\u00DF"});
    editor.SetNewName(1, nearlyFull);
    Block(0, 2, 0, 0);
    c.edit();
    EXPECT_TRUE(Texts() == c.expected) << c.name;  // not printed: a line holds thousands of units
    EXPECT_EQ(editor.TakeRefusedLines(), c.refused) << c.name;
    EXPECT_EQ(editor.TakeRefusedLines(), 0u) << c.name << ": counted once";
    // Nothing of the refused text is held by the history either.
    EXPECT_LT(editor.History().MemoryBytes(), 8 * kMax * sizeof(char16_t)) << c.name;
  }
}

TEST_F(TypingTest, RefusedCharactersChangeNothingAndSaveNothing) {
  Load({u"a.txt"});
  Caret(0, 1);
  for (char16_t ch : std::u16string_view(u":?|\"*/<>\\\t\x01")) EXPECT_FALSE(editor.TypeChar(ch));
  EXPECT_FALSE(editor.CanUndo());
  editor.SetEditScope(EditScope::BaseName);
  Caret(0, 1);
  EXPECT_FALSE(editor.TypeChar(u'.'));
  EXPECT_EQ(Texts(), (Lines{u"a"}));
  EXPECT_FALSE(editor.CanUndo());
}

TEST_F(TypingTest, WithNoCaretTypingOnlyPlacesTheCaretAtTheStart) {
  Load({u"ab", u"cd"});
  EXPECT_TRUE(editor.TypeChar(u'x'));
  EXPECT_EQ(Texts(), (Lines{u"ab", u"cd"}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 0}));
  EXPECT_TRUE(editor.CanUndo());
}

TEST_F(TypingTest, AColumnCaretTypesOnEveryLongEnoughLine) {
  Load({u"a", u"abcd", u"wxyz"});
  Block(0, 2, 2, 2);
  Type(u"-");
  EXPECT_EQ(Texts(), (Lines{u"a", u"ab-cd", u"wx-yz"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 3, 3}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 3}));
}

TEST_F(TypingTest, ABlockIsOvertypedFromTheLeftThenTypingInserts) {
  Load({u"abcd"});
  Block(0, 0, 1, 3);
  Type(u"XY");
  EXPECT_EQ(Texts(), (Lines{u"aXYd"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 0, 3, 3}));
  Type(u"Z");
  EXPECT_EQ(Texts(), (Lines{u"aXYZd"}));

  Load({u"ab1", u"cd2", u"ef3"});
  Block(0, 2, 0, 2);
  Type(u"9");
  EXPECT_EQ(Texts(), (Lines{u"9b1", u"9d2", u"9f3"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 2}));
  EXPECT_TRUE(editor.IsMarked(1, 1));
  EXPECT_FALSE(editor.IsMarked(1, 0));
}

TEST_F(TypingTest, AClickRightOfAShortLineAppends) {
  Load({u"ab"});
  editor.SetSelection({0, 0, 9, 9}, {0, 9});  // clamped to the line's end
  Type(u"c");
  EXPECT_EQ(Texts(), (Lines{u"abc"}));
}

TEST_F(TypingTest, BackspaceAndDeleteByShape) {
  Load({u"ab", u"abcd", u"x"});
  Block(0, 2, 0, 0);  // a column caret at column 0
  EXPECT_TRUE(editor.Backspace());
  EXPECT_EQ(Texts(), (Lines{u"ab", u"abcd", u"x"}));
  EXPECT_TRUE(editor.CanUndo());  // the snapshot is taken all the same

  Block(0, 2, 2, 2);
  editor.Backspace();  // "x" is shorter than the column and stays
  EXPECT_EQ(Texts(), (Lines{u"a", u"acd", u"x"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 1}));
  editor.DeleteForward();  // only lines longer than the column lose a character
  EXPECT_EQ(Texts(), (Lines{u"a", u"ad", u"x"}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 1}));

  Caret(1, 2);
  editor.DeleteForward();  // at the end of the line: nothing
  EXPECT_EQ(Texts(), (Lines{u"a", u"ad", u"x"}));
  Block(1, 1, 0, 2);
  editor.DeleteForward();  // a block goes, as with Backspace; the line stays, empty
  EXPECT_EQ(Texts(), (Lines{u"a", u"", u"x"}));
  EXPECT_EQ(editor.Names()[1].newName, u"");
  EXPECT_EQ(Selection(), (BlockSelection{1, 1, 0, 0}));
}

TEST_F(TypingTest, BackspaceKeepsTheDotOfTheExtensionScope) {
  Load({u"a.txt", u"b.png"});
  editor.SetEditScope(EditScope::Extension);
  Block(0, 1, 1, 1);
  editor.Backspace();
  EXPECT_EQ(Texts(), (Lines{u".txt", u".png"}));
  Block(0, 1, 2, 2);
  editor.Backspace();
  EXPECT_EQ(Texts(), (Lines{u".xt", u".ng"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"a.xt", u"b.ng"}));
}

TEST_F(TypingTest, DeletingABlockAcrossLinesCollapsesToItsLeftColumn) {
  Load({u"ab", u"abcdef", u"abcdeg"});
  Block(0, 2, 1, 4);
  editor.DeleteSelection();
  EXPECT_EQ(Texts(), (Lines{u"a", u"aef", u"aeg"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 1}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 1}));
}

TEST_F(TypingTest, KeepNonEmptyLeavesALineThatWouldBecomeEmpty) {
  Load({u"ab", u"abc"});
  Block(0, 1, 0, 2);
  editor.DeleteSelectedCellsKeepNonEmpty(0);
  editor.DeleteSelectedCellsKeepNonEmpty(1);
  EXPECT_EQ(Texts(), (Lines{u"ab", u"c"}));
}

TEST_F(TypingTest, ScopeViewsRenameToWhatTheyShow) {
  Load({u"README", u"noext", u"x.gz"});
  editor.SetEditScope(EditScope::Extension);
  Caret(0, 0);
  Type(u"md");
  Caret(2, 1);
  Type(u"tar.");
  editor.SetSelection({2, 2, 7, 7}, {2, 7});  // End
  Type(u"2");
  EXPECT_EQ(Texts(), (Lines{u"md", u"", u".tar.gz2"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"READMEmd", u"noext", u"x.tar.gz2"}));

  editor.SetEditScope(EditScope::BaseName);  // laid out afresh: the last "." counts again
  EXPECT_EQ(Texts(), (Lines{u"READMEmd", u"noext", u"x.tar"}));
  Caret(1, 5);
  ASSERT_TRUE(editor.PasteText(u".v2"));
  Type(u"z");
  Caret(2, 0);
  editor.DeleteForward();
  EXPECT_EQ(Texts(), (Lines{u"READMEmd", u"noext.v2z", u".tar"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"READMEmd", u"noext.v2z", u".tar.gz2"}));
  Block(1, 1, 5, 8);
  editor.DeleteSelection();
  EXPECT_EQ(test::NewNames(editor.Names())[1], u"noextz");
}

TEST_F(TypingTest, EditsNeverSplitASurrogatePair) {
  // An emoji, an undecodable byte (0x80) and "a": deleting half of the emoji must not leave its
  // first half to pair with the escaped byte into another character.
  const std::u16string name = FromUtf8("\xF0\x9F\x98\x80\x80" "a");
  ASSERT_EQ(name, (std::u16string{0xD83D, 0xDE00, 0xDC80, u'a'}));
  const auto diskName = [&] { return ToUtf8(editor.Names()[0].newName); };
  Load({name});

  Caret(0, 2);
  editor.Backspace();  // the pair's second half
  EXPECT_EQ(diskName(), "\x80" "a");
  EXPECT_EQ(editor.Caret(), (TextPos{0, 0}));
  editor.Undo();
  Caret(0, 1);
  editor.DeleteForward();  // from between the halves
  EXPECT_EQ(diskName(), "\x80" "a");
  editor.Undo();
  Block(0, 0, 1, 2);  // a block over the second half only
  editor.DeleteForward();
  EXPECT_EQ(diskName(), "\x80" "a");
  editor.Undo();
  Block(0, 0, 1, 3);
  Type(u"b");  // overtyping half a pair replaces the pair
  EXPECT_EQ(diskName(), "b\x80" "a");
  editor.Undo();
  Caret(0, 1);
  Type(u"c");  // inserted after the pair, not inside it
  EXPECT_EQ(diskName(), "\xF0\x9F\x98\x80" "c\x80" "a");
  editor.Undo();
  EXPECT_FALSE(editor.TypeChar(0xD83D));  // half a pair is no character
  Caret(0, 2);
  ASSERT_TRUE(editor.PasteText(std::u16string{0xD83D}));  // a lone half from the clipboard
  EXPECT_EQ(diskName(), "\xF0\x9F\x98\x80\xEF\xBF\xBD\x80" "a");
  for (const NameEntry& entry : editor.Names()) EXPECT_EQ(FromUtf8(ToUtf8(entry.newName)), entry.newName);
}

}  // namespace
}  // namespace nomvarix
