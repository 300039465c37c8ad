#include "session/HistoryBrowser.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"

namespace nomvarix {
namespace {

TEST(HistoryBrowserTest, RowsAreNewestFirstAndAChoiceListsItsFilesWithWhatAnUndoWouldDo) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {});
  fs.AddFile(u"/f/b", {}, 1);           // the first entry's file, under its new name
  fs.AddFile(u"/f/a", {}, 9);           // another file has its old name
  fs.AddFile(u"/f/\U0001F600", {}, 2);  // the second entry's file, renamed since
  const std::vector<HistoryEntry> history = {
      {"first", 0, HistoryKind::Apply, u"/f/", {}, {{{1, 1}, u"a", u"b"}}},
      {"second", 0, HistoryKind::Undo, u"/f/", "first", {{{1, 2}, u"c", u"d"}, {{1, 3}, u"e", u"g"}}},
  };
  HistoryBrowser browser(history, fs);
  ASSERT_EQ(browser.Rows().size(), 2u);
  const struct {
    std::u16string kind, count, state;
  } rows[] = {{u"Undo", u"2 files", u"cannot be undone"}, {u"Apply", u"1 file", u"cannot be undone"}};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(browser.Rows()[i].kind, rows[i].kind);
    EXPECT_EQ(browser.Rows()[i].count, rows[i].count);
    EXPECT_EQ(browser.Rows()[i].state, rows[i].state);
    EXPECT_EQ(browser.Rows()[i].folder, u"/f/");
  }
  EXPECT_EQ(browser.Entry(0).id, "second");

  browser.Choose(1, false);
  ASSERT_EQ(browser.FileRows().size(), 1u);
  EXPECT_EQ(browser.FileRows()[0].undo, u"stays: another file is named a now");

  // Found under another name: it moves only once the user agrees, and the state follows.
  browser.Choose(0, false);
  EXPECT_TRUE(browser.AnyFoundElsewhere());
  EXPECT_EQ(browser.FileRows()[0].undo, u"now named \U0001F600: back to c if you agree");
  EXPECT_EQ(browser.FileRows()[1].undo, u"stays: the file is gone (renamed elsewhere or deleted)");
  browser.Choose(0, true);
  EXPECT_EQ(browser.FileRows()[0].undo, u"now named \U0001F600: back to c");
  EXPECT_EQ(browser.Rows()[0].state, u"partly");
  const UndoChoice choice = browser.ChoiceOf({1});
  EXPECT_EQ(choice.chosen, (std::vector<bool>{false, true}));
  EXPECT_TRUE(choice.elsewhereToo);
  EXPECT_TRUE(browser.ChoiceOf({}).chosen.empty());
}

}  // namespace
}  // namespace nomvarix
