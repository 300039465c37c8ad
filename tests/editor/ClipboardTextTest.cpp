#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

using ClipboardTextTest = test::EditorFixture;
using Lines = test::EditorFixture::Lines;

TEST_F(ClipboardTextTest, CopiedTextFollowsTheSelectionShape) {
  Load({u"ab", u"abcdef", u"x"});
  EXPECT_EQ(editor.SelectedText(), u"");  // nothing selected
  Block(0, 2, 0, 3);
  EXPECT_EQ(editor.SelectedText(), u"ab\r\nabc\r\nx");
  Block(0, 2, 2, 4);  // "ab" and "x" contribute nothing but keep their separators
  EXPECT_EQ(editor.SelectedText(), u"\r\ncd\r\n");
  Block(0, 2, 1, 1);  // a column caret copies whole lines
  EXPECT_EQ(editor.SelectedText(), u"ab\r\nabcdef\r\nx");
  Block(1, 1, 2, 9);
  EXPECT_EQ(editor.SelectedText(), u"cdef");
}

// A block that holds one half of a pair copies the whole character, as cutting deletes it whole:
// what is cut is what goes to the clipboard, never half of it.
TEST_F(ClipboardTextTest, AHalfPairInTheBlockTakesItsCharacterAlong) {
  const std::u16string grin = u"\U0001F600";
  const std::u16string clef = u"\U0001D11E";
  const struct {
    std::int32_t from, to;
    std::u16string copied;
    std::u16string left;  // the line after the cut
  } cases[] = {
      {0, 2, u"a" + grin, clef + u"\u00E9"},       // ends inside the grin
      {2, 4, grin + clef, u"a\u00E9"},             // starts inside the grin, ends inside the clef
      {4, 6, clef + u"\u00E9", u"a" + grin},        // starts inside the clef
      {2, 3, grin, u"a" + clef + u"\u00E9"},       // only the grin's second half
      {1, 5, grin + clef, u"a\u00E9"},             // both whole
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << ".." << c.to);
    test::FakeFileSystem files;
    files.AddFolder(u"/g/", {u"a" + grin + clef + u"\u00E9", u"x"});
    ASSERT_TRUE(editor.LoadFolder(files, u"/g/", SortOrder{false, true}));
    Block(0, 0, c.from, c.to);
    EXPECT_EQ(editor.SelectedText(), c.copied);
    ASSERT_TRUE(editor.CutSelection());
    EXPECT_EQ(Texts(), (Lines{c.left, u"x"}));
  }
}

TEST_F(ClipboardTextTest, CopyAndCutAreEnabledByShape) {
  Load({u"ab", u"cd"});
  EXPECT_FALSE(editor.CanCopy());
  Caret(0, 1);
  EXPECT_FALSE(editor.CanCopy());
  Block(0, 1, 1, 1);
  EXPECT_TRUE(editor.CanCopy());
  EXPECT_FALSE(editor.CanCut());  // a column caret can be copied, not cut
  Block(0, 0, 0, 1);
  EXPECT_TRUE(editor.CanCut());
  EXPECT_TRUE(editor.CutSelection());
  EXPECT_EQ(Texts(), (Lines{u"b", u"cd"}));
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), (Lines{u"ab", u"cd"}));
}

TEST_F(ClipboardTextTest, PastingSpreadsPiecesOverAColumnCaret) {
  Load({u"a1", u"a2", u"a3", u"a4", u"a5"});
  Block(0, 4, 1, 1);
  ASSERT_TRUE(editor.PasteText(u"x\r\ny\r\nz"));
  EXPECT_EQ(Texts(), (Lines{u"ax1", u"ay2", u"az3", u"ax4", u"ay5"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 4, 2, 2}));
  EXPECT_EQ(editor.Caret(), (TextPos{4, 2}));

  Load({u"a", u"b", u"c"});
  Block(0, 2, 0, 0);
  editor.PasteText(u"x\r\n\r\nz");  // an empty piece leaves its line alone
  EXPECT_EQ(Texts(), (Lines{u"xa", u"b", u"zc"}));

  Load({u"abc", u"d", u"efg"});
  Block(0, 2, 2, 2);
  editor.PasteText(u"XY");  // one piece on every line long enough; the caret moves by its length
  EXPECT_EQ(Texts(), (Lines{u"abXYc", u"d", u"efXYg"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 4, 4}));
}

TEST_F(ClipboardTextTest, APlainCaretTakesOnlyTheFirstPiece) {
  Load({u"abc"});
  Caret(0, 1);
  editor.PasteText(u"XY\r\nZ");
  EXPECT_EQ(Texts(), (Lines{u"aXYbc"}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 3}));
  editor.PasteText(u"Q\r\n");  // a closing separator makes no piece
  EXPECT_EQ(Texts(), (Lines{u"aXYQbc"}));
  editor.PasteText(u"\n:");  // a lone LF goes; characters refused as typed are pasted as they are
  EXPECT_EQ(Texts(), (Lines{u"aXYQ:bc"}));
  const std::size_t steps = editor.History().UndoCount();
  EXPECT_FALSE(editor.PasteText(u""));
  EXPECT_EQ(editor.History().UndoCount(), steps);
}

TEST_F(ClipboardTextTest, PastedTextLosesItsControlCharactersButKeepsItsLines) {
  struct Case {
    std::u16string_view pasted;
    Lines expected;
  };
  const Case cases[] = {
      {u"lone\rcr\ttab\x1b" u"esc", {u"lonecrtabesc\u00DF", u"lonecrtabesc\u00E9"}},
      {u"\x7f" u"d\u0085\u009f\r\n\u65E5\x01", {u"d\u00DF", u"\u65E5\u00E9"}},
      {u"a\r\r\nb\n\r\n", {u"a\u00DF", u"b\u00E9"}},  // only CR LF pairs part the lines
      {u"\xDC80\xDCFF\u2400", {u"\xDC80\xDCFF\u2400\u00DF", u"\xDC80\xDCFF\u2400\u00E9"}},  // no controls
  };
  for (const Case& c : cases) {
    Load({u"\u00DF", u"\u00E9"});
    Block(0, 1, 0, 0);
    ASSERT_TRUE(editor.PasteText(c.pasted));
    EXPECT_EQ(Texts(), c.expected);
  }
  Load({u"\u00E9"});
  Caret(0, 0);
  EXPECT_FALSE(editor.PasteText(u"\t\x1b\r\x7f")) << "nothing left to paste";
  EXPECT_EQ(editor.History().UndoCount(), 0u);
  for (const char16_t typed : {u'\t', u'\x1b', u'\x7f', u'\u0085'}) EXPECT_FALSE(editor.TypeChar(typed));
  EXPECT_EQ(Texts(), (Lines{u"\u00E9"}));
}

TEST_F(ClipboardTextTest, PastingOverABlockReplacesIt) {
  Load({u"abcd", u"efgh"});
  Block(0, 1, 1, 3);
  editor.PasteText(u"1\r\n2");
  EXPECT_EQ(Texts(), (Lines{u"a1d", u"e2h"}));
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), (Lines{u"abcd", u"efgh"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 1, 1, 3}));
}

}  // namespace
}  // namespace nomvarix
