#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

using UndoTest = test::EditorFixture;
using Lines = test::EditorFixture::Lines;

TEST_F(UndoTest, KeepsTheNewestHundredSteps) {
  Load({u"a"});
  Caret(0, 1);
  for (int i = 0; i < 101; ++i) editor.TypeChar(u'x');
  ASSERT_EQ(Texts()[0].size(), 102u);
  int undone = 0;
  while (editor.Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(Texts(), (Lines{u"ax"}));  // the state after the first edit
  EXPECT_EQ(editor.History().RedoCount(), 100u);
}

TEST_F(UndoTest, UndoAndRedoRestoreTextSelectionCaretAndTopLine) {
  Load({u"abc", u"def", u"ghi"});
  editor.SetMetrics({.lineHeight = 10, .charWidth = 8, .clientHeight = 20});
  Block(0, 2, 1, 2);
  editor.SetTopLine(1);
  editor.SetLeftColumn(3);
  Type(u"Q");
  EXPECT_EQ(Texts(), (Lines{u"aQc", u"dQf", u"gQi"}));
  editor.SetTopLine(0);
  editor.SetLeftColumn(5);

  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), (Lines{u"abc", u"def", u"ghi"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"abc", u"def", u"ghi"}));
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 1, 2}));
  EXPECT_EQ(editor.Caret(), (TextPos{2, 2}));
  EXPECT_EQ(editor.TopLine(), 1);
  EXPECT_EQ(editor.LeftColumn(), 5);  // not part of a snapshot
  EXPECT_TRUE(editor.Names()[1].cells[1].selected);
  EXPECT_EQ(test::ChangedMarks(editor.Names()[0]), "...");

  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(Texts(), (Lines{u"aQc", u"dQf", u"gQi"}));
  EXPECT_EQ(test::ChangedMarks(editor.Names()[0]), ".x.");
  EXPECT_EQ(Selection(), (BlockSelection{0, 2, 2, 2}));
  EXPECT_FALSE(editor.Redo());
}

TEST_F(UndoTest, AnEditAfterUndoDropsTheRedoSteps) {
  Load({u"ab"});
  Caret(0, 2);
  Type(u"c");
  editor.Undo();
  EXPECT_TRUE(editor.CanRedo());
  Type(u"d");
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_EQ(Texts(), (Lines{u"abd"}));
}

TEST_F(UndoTest, LoadingAndChangingTheScopeEmptyTheHistory) {
  Load({u"a.txt"});
  Caret(0, 0);
  Type(u"x");
  editor.Undo();
  ASSERT_TRUE(editor.CanRedo());
  editor.ToggleScopeButton(ScopeButton::Extension);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo());
  Caret(0, 0);
  Type(u"y");
  ASSERT_TRUE(editor.CanUndo());
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", {}));
  EXPECT_FALSE(editor.Undo());
}

TEST_F(UndoTest, UndoInTheBaseScopeKeepsTextThatIsNotTheNamesBase) {
  // Pasted or typed into a name without extension, "x.y" as base text is no longer the part
  // before the last "." of the new name; the snapshot keeps it as it was.
  Load({u"README"});
  editor.SetEditScope(EditScope::BaseName);
  editor.SetLineText(0, u"x.y");
  Caret(0, 3);
  Type(u"z");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), (Lines{u"x.y"}));
  EXPECT_EQ(editor.Names()[0].newName, u"x.y");
}

TEST_F(UndoTest, RestoresEveryCharacterWhetherTheChunkIsNarrowOrWide) {
  for (const Lines& lines : {Lines{u"caf\u00E9.txt", u"\u00FF\u0080.txt"}, Lines{u"a\u540D\u524D", u"b\U0001F4F7"}}) {
    Load(lines);
    Block(0, 1, 0, 0);
    Type(u"-");
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(Texts(), lines);
    EXPECT_EQ(test::NewNames(editor.Names()), lines);
    ASSERT_TRUE(editor.Redo());
    EXPECT_EQ(Texts()[0], u"-" + lines[0]);
  }
}

TEST_F(UndoTest, SnapshotsShareTheLinesThatDidNotChange) {
  Lines lines;
  for (int i = 0; i < 5000; ++i) {
    std::u16string name = u"photo-00000-with-a-long-name.jpg";
    for (int k = 0, v = i; k < 5; ++k, v /= 10) name[10 - k] = static_cast<char16_t>(u'0' + v % 10);
    lines.push_back(name);
  }
  Load(lines);
  std::size_t listBytes = 0;
  for (const NameEntry& e : editor.Names()) {
    listBytes += sizeof e + (e.originalName.capacity() + e.lineText.capacity() + e.newName.capacity()) * 2 +
                 e.cells.capacity() * sizeof(GlyphCell);
  }
  for (int i = 0; i < 100; ++i) {
    Caret(i * 37 % 5000, 0);
    Type(u"x");
  }
  // A hundred one-line edits keep less than twice what the list itself holds.
  EXPECT_LT(editor.History().MemoryBytes(), 2 * listBytes);
  int undone = 0;
  while (editor.Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(Texts(), lines);
}

TEST_F(UndoTest, TheChangedNameMarkFollowsEditsUndoAndReset) {
  Load({u"a.txt", u"b.txt"});
  EXPECT_FALSE(editor.AnyNameChanged());
  Caret(1, 0);
  Type(u"x");
  EXPECT_TRUE(editor.AnyNameChanged());
  ASSERT_TRUE(editor.Undo());
  EXPECT_FALSE(editor.AnyNameChanged());
  ASSERT_TRUE(editor.Redo());
  EXPECT_TRUE(editor.AnyNameChanged());
  editor.SetNewName(0, u"c.txt");
  editor.SetNewName(1, u"b.txt");
  EXPECT_TRUE(editor.AnyNameChanged()) << "line 0 is still changed";
  editor.SetNewName(0, u"a.txt");
  EXPECT_FALSE(editor.AnyNameChanged());
}

}  // namespace
}  // namespace nomvarix
