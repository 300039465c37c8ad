#include <gtest/gtest.h>

#include "support/EditorFixture.h"
#include "text/Utf16.h"

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
  EXPECT_TRUE(editor.IsMarked(1, 1));
  EXPECT_EQ(test::ChangedMarks(editor, 0), "...");

  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(Texts(), (Lines{u"aQc", u"dQf", u"gQi"}));
  EXPECT_EQ(test::ChangedMarks(editor, 0), ".x.");
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

TEST_F(UndoTest, AGroupOfEditsIsOneStepUnlessAnUndoInsideItSplitsIt) {
  Load({u"ß", u"é日"});
  Caret(1, 2);
  Type(u"a");
  editor.BeginUndoGroup();
  editor.PushUndo();  // the step the group is undone to
  Type(u"bcd");
  editor.Backspace();
  EXPECT_EQ(Texts()[1], u"é日abc");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts()[1], u"é日a") << "the whole group in one step";
  // After an undo inside the group, the next edit is a step again and the redo steps go.
  Type(u"x");
  Type(u"y");
  EXPECT_FALSE(editor.CanRedo());
  editor.EndUndoGroup();
  Type(u"z");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts()[1], u"é日axy");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts()[1], u"é日a");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts()[1], u"é日");
  EXPECT_FALSE(editor.Undo());
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

TEST_F(UndoTest, UndoKeepsAccentedNamesOfLinesNobodyTouched) {
  // The saved chunk starts narrow and widens at the first unit above 0xFF: the units saved
  // before must keep their value, not take the sign of a char.
  const Lines lines{u"caf\u00E9.txt", u"notes.txt", u"\u00DF\u00FF", u"\u65E5\u8A18.txt"};
  Load(lines);
  Caret(1, 0);
  Type(u"x");
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), lines);
  EXPECT_EQ(test::NewNames(editor.Names()), lines);
  EXPECT_FALSE(editor.AnyNameChanged());
  EXPECT_EQ(test::ChangedMarks(editor, 0), "........");
  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(test::NewNames(editor.Names())[0], lines[0]);
  EXPECT_EQ(test::NewNames(editor.Names())[1], u"xnotes.txt");
}

TEST_F(UndoTest, UndoInTheExtensionScopeBringsBackNamesWhoseDotMoved) {
  Load({u"README", u"x.gz"});
  editor.SetEditScope(EditScope::Extension);
  Caret(0, 0);
  Type(u"md");
  Caret(1, 1);
  Type(u"tar.");
  ASSERT_EQ(test::NewNames(editor.Names()), (Lines{u"READMEmd", u"x.tar.gz"}));
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"READMEmd", u"x.targz"}));  // the last "." typed
  while (editor.Undo()) {
  }
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"README", u"x.gz"}));
  EXPECT_EQ(Texts(), (Lines{u"", u".gz"}));
  while (editor.Redo()) {
  }
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"READMEmd", u"x.tar.gz"}));
  EXPECT_EQ(Texts(), (Lines{u"md", u".tar.gz"}));
  // The line goes on showing what it showed, and the name follows it.
  editor.SetSelection({1, 1, 7, 7}, {1, 7});
  Type(u"2");
  EXPECT_EQ(test::NewNames(editor.Names())[1], u"x.tar.gz2");
}

// Lines that show their names on disk are saved by reference to those names: steps taken before
// the lines of a revert were shown must still bring back the other list, names on disk included,
// and steps of the revert's lines must survive going back and forth over it.
TEST_F(UndoTest, StepsOfAnotherListBringThatListBackWithItsNamesOnDisk) {
  Load({u"b", u"café.txt", u"日記.txt"});
  Caret(2, 0);
  Type(u"1");
  NameList revert(2);
  revert[0].originalName = u"new-é";
  revert[0].newName = revert[0].lineText = u"old-é";
  revert[1].originalName = u"x";
  revert[1].newName = revert[1].lineText = u"y";
  editor.ReplaceLines(revert);
  Caret(0, 0);
  Type(u"2");
  ASSERT_EQ(Texts(), (Lines{u"2old-é", u"y"}));

  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), (Lines{u"old-é", u"y"}));
  ASSERT_TRUE(editor.Undo());  // the folder's lines as the first step saved them
  EXPECT_EQ(test::OriginalNames(editor.Names()), (Lines{u"b", u"café.txt", u"日記.txt"}));
  EXPECT_EQ(Texts(), (Lines{u"b", u"café.txt", u"日記.txt"}));
  EXPECT_EQ(test::ChangedMarks(editor, 2), "......");
  EXPECT_FALSE(editor.Undo());

  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(test::OriginalNames(editor.Names()), (Lines{u"new-é", u"x"}));
  EXPECT_EQ(Texts(), (Lines{u"old-é", u"y"}));
  ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(Texts(), (Lines{u"2old-é", u"y"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Lines{u"2old-é", u"y"}));
}

// After a load nothing of the names is copied into the history: a step over every line keeps
// what was typed, not the names again.
TEST_F(UndoTest, AStepOverAFreshlyLoadedListHoldsWhatWasTypedNotTheNames) {
  Lines lines;
  for (int i = 0; i < 3000; ++i) lines.push_back(u"holiday-photo-" + FromUtf8(std::to_string(10000 + i)) + u".jpeg");
  Load(lines);
  std::size_t nameBytes = 0;
  for (const auto& line : lines) nameBytes += line.size() * sizeof(char16_t);
  Block(0, 2999, 0, 0);
  Type(u"x");
  EXPECT_LT(editor.History().MemoryBytes(), nameBytes / 10);
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), lines);
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
    listBytes += sizeof e + (e.originalName.capacity() + e.lineText.capacity() + e.newName.capacity()) * 2;
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

namespace nomvarix {
namespace {

using ColumnEditTest = test::EditorFixture;

/// Names of a list long enough that a column edit over it runs on two threads, some of them with
/// characters that take two bytes in a snapshot.
test::EditorFixture::Lines LongList(int count) {
  test::EditorFixture::Lines lines;
  for (int i = 0; i < count; ++i) {
    std::u16string name = u"n00000-";
    for (int k = 0, v = i; k < 5; ++k, v /= 10) name[5 - k] = static_cast<char16_t>(u'0' + v % 10);
    name += i % 7 == 0 ? u"\u540D\u524D.txt" : u"photo.jpg";
    lines.push_back(name);
  }
  return lines;
}

TEST_F(ColumnEditTest, ManyStepsOverALongListUndoAndRedoExactly) {
  const Lines lines = LongList(20000);
  Load(lines);
  const auto last = static_cast<std::int32_t>(lines.size()) - 1;
  editor.SetSelection({0, last, 2, 2}, {last, 2});
  // Enough steps for snapshots that keep only what differs from an earlier one, and for those
  // to give way to whole copies again.
  const std::u16string typed = u"abcdefghijklmnopqrstuvwxyz\u00E9\u4E2D";
  Type(typed);
  Lines expected;
  for (const std::u16string& name : lines) expected.push_back(name.substr(0, 2) + typed + name.substr(2));
  ASSERT_EQ(Texts(), expected);
  EXPECT_EQ(Selection(), (BlockSelection{0, last, 30, 30}));
  EXPECT_EQ(test::NewNames(editor.Names()), expected);
  std::string marks;
  for (std::size_t k = 0; k < expected[9].size(); ++k) marks += k < lines[9].size() && expected[9][k] == lines[9][k] ? '.' : 'x';
  EXPECT_EQ(test::ChangedMarks(editor, 9), marks);
  for (std::size_t i = 0; i < editor.Names().size(); i += 997) EXPECT_EQ(editor.Keys()[i], KeyOf(editor.Names()[i]));

  // Backspace over a column caret too goes over both halves.
  ASSERT_TRUE(editor.Backspace());
  EXPECT_EQ(Texts()[19999], expected[19999].substr(0, 29) + expected[19999].substr(30));
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(Texts(), expected);

  for (std::size_t step = typed.size(); step-- > 0;) {
    ASSERT_TRUE(editor.Undo());
    EXPECT_EQ(Texts()[12345], lines[12345].substr(0, 2) + typed.substr(0, step) + lines[12345].substr(2));
  }
  EXPECT_EQ(Texts(), lines);
  EXPECT_EQ(test::NewNames(editor.Names()), lines);
  EXPECT_FALSE(editor.AnyNameChanged());
  for (int step = 0; step < static_cast<int>(typed.size()); ++step) ASSERT_TRUE(editor.Redo());
  EXPECT_EQ(Texts(), expected);
  EXPECT_TRUE(editor.AnyNameChanged());
}

TEST_F(UndoTest, ErrorMarksAreRestoredWithTheirLines) {
  Load({u"a", u"b"});
  editor.SetErrorMark(1, true);
  Caret(0, 0);
  Type(u"x");  // the snapshot holds the mark
  editor.SetErrorMark(1, false);
  Type(u"y");  // and this one holds it cleared
  ASSERT_TRUE(editor.Undo());
  EXPECT_FALSE(editor.Names()[1].errorMark);
  ASSERT_TRUE(editor.Undo());
  EXPECT_TRUE(editor.Names()[1].errorMark);
}

}  // namespace
}  // namespace nomvarix
