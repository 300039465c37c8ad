#include <gtest/gtest.h>

#include "support/EditorFixture.h"

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
  EXPECT_EQ(test::ChangedMarks(editor.Names()[0]), "..xxx");
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
  EXPECT_TRUE(editor.Names()[1].cells[1].selected);
  EXPECT_FALSE(editor.Names()[1].cells[0].selected);
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

}  // namespace
}  // namespace nomvarix
