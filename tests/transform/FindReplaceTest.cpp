#include "transform/FindReplace.h"

#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

class FindReplaceTest : public test::EditorFixture {
 protected:
  bool Find(std::u16string_view text, SearchOptions options = {}) {
    return FindNext(editor, memory, text, options, false).found;
  }
  BlockSelection Found() const { return Selection(); }

  SearchMemory memory;
};

TEST_F(FindReplaceTest, CaseFoldsOnlyWithoutMatchCase) {
  Load({u"IMG.JPG", u"photo.jpg"});
  EXPECT_TRUE(Find(u"jpg"));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 4, 7}));
  EXPECT_TRUE(Find(u"jpg", {.matchCase = true}));  // the option changed: from the top again
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 6, 9}));
  EXPECT_TRUE(Find(u"jpg", {.matchCase = true}));  // wraps around to the only match
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 6, 9}));
  EXPECT_FALSE(Find(u"JPG.", {.matchCase = true}));
  EXPECT_FALSE(Find(u""));
}

TEST_F(FindReplaceTest, WholeWordsAreBoundedByWhatIsNotALetterOrDigit) {
  Load({u"photo.jpg", u"photo_01.jpg", u"photos.jpg", u"xphoto photo"});
  const SearchOptions whole{.wholeWord = true};
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 0);
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 1);
  EXPECT_TRUE(Find(u"photo", whole));  // not photos, not xphoto: the second word of line 3
  EXPECT_EQ(Found(), (BlockSelection{3, 3, 7, 12}));
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 0);
}

TEST_F(FindReplaceTest, FindNextGoesOnFromTheLastMatchOnTheSameLine) {
  Load({u"a-a-a", u"b"});
  Find(u"a");
  Find(u"a");
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 2, 3}));
  EXPECT_EQ(SelectedSearchText(editor), u"a");
  editor.SetSelection({0, 1, 0, 2}, {1, 2});
  EXPECT_EQ(SelectedSearchText(editor), u"");  // two lines
}

TEST_F(FindReplaceTest, ReplaceFindsAndReplacesInOnePress) {
  Load({u"cat.txt", u"dog.txt"});
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"dog", u"wolf", {}));
  EXPECT_EQ(Texts(), (Lines{u"cat.txt", u"wolf.txt"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 4}));
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"dog", u"wolf", {}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"cat.txt", u"dog.txt"}));
}

TEST_F(FindReplaceTest, ReplaceTakesTheSelectionOnlyWhenItMatches) {
  // \xDCE9 stands for the undecodable byte E9 of a name on disk.
  Load({u"photo.jpg", u"photos caf\u00E9.jpg", u"\u65E5\u8A18 Photo\xDCE9.png"});
  memory.findStart = {0, 0};  // as a mouse selection leaves it
  Block(0, 0, 0, 5);          // "photo"
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"zzz", u"Q", {}));
  EXPECT_EQ(Texts()[0], u"photo.jpg");

  Block(0, 0, 0, 5);  // not at the find start (keys selected it), but it matches: replaced in place
  memory.findStart = {2, 0};
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"PHOTO", u"\U0001F600", {}));
  EXPECT_EQ(Texts()[0], u"\U0001F600.jpg");
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 2}));

  Block(1, 1, 0, 5);  // "photo" of "photos" is no whole word: the next whole word is replaced
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"x", {.wholeWord = true}));
  EXPECT_EQ(Texts(), (Lines{u"\U0001F600.jpg", u"photos caf\u00E9.jpg", u"\u65E5\u8A18 x\xDCE9.png"}));

  Block(1, 1, 7, 11);  // "caf\u00E9" differs from "CAF\u00C9" beyond ASCII: the case folding is ASCII-only
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"CAF\u00C9", u"tea", {}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"CAF\u00E9", u"tea", {}));
  EXPECT_EQ(Texts()[1], u"photos tea.jpg");
}

TEST_F(FindReplaceTest, RepeatedReplaceWalksThroughTheMatches) {
  Load({u"a\u65E5a\U0001F600a.txt", u"ba"});
  const auto replaceByE = [&] { return ReplaceCurrent(editor, memory, u"a", u"\u00E9", {}); };
  EXPECT_TRUE(replaceByE());
  EXPECT_TRUE(replaceByE());  // goes on after the inserted text, not into it again
  EXPECT_EQ(Texts()[0], u"\u00E9\u65E5\u00E9\U0001F600a.txt");
  EXPECT_TRUE(replaceByE());
  EXPECT_TRUE(replaceByE());
  EXPECT_EQ(Texts(), (Lines{u"\u00E9\u65E5\u00E9\U0001F600\u00E9.txt", u"b\u00E9"}));
  EXPECT_FALSE(replaceByE());

  // A replacement that matches again is passed over, not replaced by itself over and over.
  Load({u"a", u"a-a"});
  memory = {};
  const auto replaceByUpperA = [&] { return ReplaceCurrent(editor, memory, u"a", u"A", {}); };
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_EQ(Texts(), (Lines{u"A", u"A-A"}));

  // A selected match replaced in place: the next press goes on from there, not from the top.
  Load({u"photo 1", u"photo 2", u"photo 3"});
  memory = {};
  memory.findStart = {1, 0};
  Block(1, 1, 0, 5);
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"Q", {}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"Q", {}));
  EXPECT_EQ(Texts(), (Lines{u"photo 1", u"Q 2", u"Q 3"}));
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAndEndsWhenTheReplacementMatches) {
  Load({u"banana"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"a", u"o", {}).count, 3u);
  EXPECT_EQ(Texts(), (Lines{u"bonono"}));
  // A plain caret at the start of the last replacement.
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 5, 5}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 5}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"banana"}));
  EXPECT_FALSE(editor.CanUndo());

  Load({u"a.jpg", u"b.JPG", u"c.png"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"jpg", u"JPG", {}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"a.JPG", u"b.JPG", u"c.png"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"x", u"y", {}).count, 0u);

  Load({u"\u65E5\u8A18\U0001F600\u65E5\u8A18\xDCE9"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"\u65E5\u8A18", u"\u00E9", {.matchCase = true}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"\u00E9\U0001F600\u00E9\xDCE9"}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 3, 3}));
  EXPECT_EQ(ReplacedMessage(2), u"Replaced 2 occurrence(s)");
}

TEST_F(FindReplaceTest, RegularExpressionsReplaceWithTheirGroupsInOneUndoStep) {
  const SearchOptions regex{.matchCase = true, .regex = true};
  Load({u"12_ab.jpg", u"x 7_\u00E9t\u00E9", u"z none"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\d+)_(\\w+)", u"$2-$1", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"ab-12.jpg", u"x \u00E9t\u00E9-7", u"z none"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 2, 2}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"12_ab.jpg", u"x 7_\u00E9t\u00E9", u"z none"}));
  EXPECT_FALSE(editor.CanUndo());

  // Without "Match Case" the pattern is caseless beyond ASCII too.
  Load({u"CAF\u00C9 caf\u00E9s", u"Caf\u00E9"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(?<w>caf\u00E9)", u"[${w}]", {.regex = true}).count, 3u);
  EXPECT_EQ(Texts(), (Lines{u"[CAF\u00C9] [caf\u00E9]s", u"[Caf\u00E9]"}));

  // Replace takes a selected match and walks on through the others.
  Load({u"a1b22", u"c333"});
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"<$0>", regex));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"#", regex));
  EXPECT_EQ(Texts(), (Lines{u"a<1>b#", u"c333"}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 5, 6}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"#", regex));
  EXPECT_EQ(Texts()[1], u"c#");
}

TEST_F(FindReplaceTest, EmptyRegularExpressionMatchesMoveOnByOneCharacter) {
  const SearchOptions regex{.regex = true};
  Load({u"ab", u"\U0001F600"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"x*", u"-", regex).count, 5u);
  EXPECT_EQ(Texts(), (Lines{u"-a-b-", u"-\U0001F600-"}));  // never inside the pair
  Load({u"ab", u"cd"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"^", u"0", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"0ab", u"0cd"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"$", u"", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"0ab", u"0cd"}));

  // Find Next selects an empty match as a caret and goes on to the next one, then wraps.
  memory = {};
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 0}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 3, 3}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 0}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 0}));
}

TEST_F(FindReplaceTest, RegularExpressionsKeepUndecodableBytesAndPairsIntact) {
  // \xDCE9 and \xDC80 stand for undecodable bytes of names on disk.
  Load({u"1a\xDCE9\U0001F600b.jpg", u"2\xDC80\U0001F600\U0001F600", u"3\u65E5\xDCE9x"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\W)(b|$)", u"<$1>$2", {.regex = true}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"1a\xDCE9<\U0001F600>b.jpg", u"2\xDC80\U0001F600<\U0001F600>", u"3\u65E5\xDCE9x"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"([^<>]+)", u"($1)", {.regex = true}).count, 6u);
  EXPECT_EQ(Texts(), (Lines{u"(1a\xDCE9)<(\U0001F600)>(b.jpg)", u"(2\xDC80\U0001F600)<(\U0001F600)>",
                            u"(3\u65E5\xDCE9x)"}));
}

TEST_F(FindReplaceTest, APatternThatDoesNotCompileChangesNothing) {
  const SearchOptions regex{.regex = true};
  Load({u"a(b", u"c"});
  Block(1, 1, 0, 1);
  EXPECT_EQ(PatternError(u"a(b", regex), u"Invalid regular expression: missing closing parenthesis at position 3");
  EXPECT_EQ(PatternError(u"a(b", {}), std::nullopt);
  EXPECT_EQ(PatternError(u"a\\(b", regex), std::nullopt);
  EXPECT_FALSE(Find(u"a(b", regex));
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"a(b", u"x", regex));
  EXPECT_EQ(ReplaceAll(editor, memory, u"a(b", u"x", regex).count, 0u);
  EXPECT_EQ(Texts(), (Lines{u"a(b", u"c"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 1}));
  EXPECT_FALSE(editor.CanUndo());

  // The same text found as plain text, then as a pattern: the changed box starts from the top.
  EXPECT_TRUE(Find(u"c"));
  EXPECT_TRUE(Find(u"c", regex));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 1}));
  EXPECT_TRUE(memory.lastRegex);
}

}  // namespace
}  // namespace nomvarix
