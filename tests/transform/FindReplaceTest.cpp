#include "transform/FindReplace.h"

#include <gtest/gtest.h>

#include "support/EditorFixture.h"

namespace nomvarix {
namespace {

class FindReplaceTest : public test::EditorFixture {
 protected:
  bool Find(std::u16string_view text, SearchOptions options = {}) {
    return FindNext(editor, memory, text, options, false);
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

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAndEndsWhenTheReplacementMatches) {
  Load({u"banana"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"a", u"o", {}), 3u);
  EXPECT_EQ(Texts(), (Lines{u"bonono"}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 5}));  // at the start of the last replacement
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"banana"}));
  EXPECT_FALSE(editor.CanUndo());

  Load({u"a.jpg", u"b.JPG", u"c.png"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"jpg", u"JPG", {}), 2u);
  EXPECT_EQ(Texts(), (Lines{u"a.JPG", u"b.JPG", u"c.png"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"x", u"y", {}), 0u);
}

}  // namespace
}  // namespace nomvarix
