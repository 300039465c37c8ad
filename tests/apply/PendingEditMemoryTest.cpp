#include "apply/PendingEditMemory.h"

#include <gtest/gtest.h>

#include "editor/NameEditor.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using Pairs = std::vector<PendingEditMemory::Pair>;

class PendingEditMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs.AddFolder(u"/f/", {u"a.jpg", u"b.png", u"c.gif"});
    ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{false, true}));
  }

  test::FakeFileSystem fs;
  NameEditor editor;
  PendingEditMemory memory;
};

TEST_F(PendingEditMemoryTest, KeepsOnlyChangedLinesAndPutsThemBackByOriginalName) {
  editor.SetLineText(0, u"x.jpg");
  editor.SetLineText(2, u"z.gif");
  memory.Save(u"/f/", editor.Names());
  EXPECT_EQ(*memory.Find(u"/f/"), (Pairs{{u"a.jpg", u"x.jpg"}, {u"c.gif", u"z.gif"}}));

  // Restored into a list in another order and another scope.
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", SortOrder{true, true}));
  editor.SetEditScope(EditScope::BaseName);
  EXPECT_TRUE(memory.Restore(u"/f/", editor));
  EXPECT_EQ(test::OriginalNames(editor.Names()), (Names{u"c.gif", u"a.jpg", u"b.png"}));
  EXPECT_EQ(test::NewNames(editor.Names()), (Names{u"z.gif", u"x.jpg", u"b.png"}));
  EXPECT_EQ(test::LineTexts(editor.Names()), (Names{u"z", u"x", u"b"}));
  EXPECT_EQ(test::ChangedMarks(editor, 0), "x");
  EXPECT_NE(memory.Find(u"/f/"), nullptr);  // kept after restoring
}

TEST_F(PendingEditMemoryTest, AFolderWithNoChangedLineHasNoEntry) {
  editor.SetLineText(1, u"q.png");
  memory.Save(u"/f/", editor.Names());
  editor.SetLineText(1, u"b.png");  // set back to the disk name
  memory.Save(u"/f/", editor.Names());
  EXPECT_EQ(memory.Find(u"/f/"), nullptr);
  EXPECT_FALSE(memory.Restore(u"/f/", editor));

  memory.Save(u"", editor.Names());
  EXPECT_EQ(memory.Find(u""), nullptr);
}

TEST_F(PendingEditMemoryTest, FoldersAreKeptApartAndComparedExactly) {
  editor.SetLineText(0, u"x.jpg");
  memory.Save(u"/f/", editor.Names());
  EXPECT_EQ(memory.Find(u"/F/"), nullptr);
  EXPECT_EQ(memory.Find(u"/f"), nullptr);
  memory.Forget(u"/g/");
  EXPECT_NE(memory.Find(u"/f/"), nullptr);
  memory.Forget(u"/f/");
  EXPECT_EQ(memory.Find(u"/f/"), nullptr);
}

}  // namespace
}  // namespace nomvarix
