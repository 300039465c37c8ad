#include "editor/NameEditor.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::ChangedMarks;
using test::LineTexts;
using test::NewNames;
using test::OriginalNames;

constexpr SortOrder kByName{false, true};

class NameEditorTest : public ::testing::Test {
 protected:
  void Load(const Names& files, SortOrder order = kByName) {
    fs.AddFolder(u"/f/", files);
    ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", order));
  }

  test::FakeFileSystem fs;
  NameEditor editor;
};

TEST_F(NameEditorTest, LoadingLeavesOutFoldersHiddenFilesAndWhatTheFilterRejects) {
  fs.AddFolder(u"/f/", {u"b.jpg", u".hidden", u"a.txt", u"c.png"});
  fs.AddEntry(u"/f/", {u"sub", true, false});
  fs.AddEntry(u"/f/", {u"hidden-by-attribute", false, true});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", kByName));
  EXPECT_EQ(OriginalNames(editor.Names()), (Names{u"a.txt", u"b.jpg", u"c.png"}));
  EXPECT_EQ(editor.CurrentFolder(), u"/f/");
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    const NameEntry& entry = editor.Names()[line];
    EXPECT_EQ(entry.lineText, entry.originalName);
    EXPECT_EQ(entry.newName, entry.originalName);
    EXPECT_EQ(ChangedMarks(editor, line), std::string(entry.lineText.size(), '.'));
    EXPECT_FALSE(entry.errorMark);
  }

  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", kByName, [](std::u16string_view name) { return name != u"b.jpg"; }));
  EXPECT_EQ(OriginalNames(editor.Names()), (Names{u"a.txt", u"c.png"}));
}

TEST_F(NameEditorTest, AFolderThatCannotBeListedLeavesAnEmptyEditorWithNoFolder) {
  Load({u"a.txt"});
  EXPECT_FALSE(editor.LoadFolder(fs, u"/missing/", kByName));
  EXPECT_TRUE(editor.Names().empty());
  EXPECT_EQ(editor.CurrentFolder(), u"");

  fs.AddFolder(u"/only-folders/", {});
  fs.AddEntry(u"/only-folders/", {u"sub", true, false});
  EXPECT_TRUE(editor.LoadFolder(fs, u"/only-folders/", kByName));
  EXPECT_TRUE(editor.Names().empty());
  EXPECT_EQ(editor.CurrentFolder(), u"/only-folders/");
}

TEST_F(NameEditorTest, CellsMarkChangesByPositionAndSitOnTheGrid) {
  editor.SetMetrics(ViewMetrics{.charWidth = 9});
  Load({u"photo.jpg"});
  editor.SetLineText(0, u"xphoto.jpg");
  const std::vector<GlyphCell> cells = editor.LineCells(0);
  EXPECT_EQ(ChangedMarks(editor, 0), "xxxxxxxxxx");  // one insertion at the front shifts everything
  EXPECT_EQ(cells[3].x, 27);
  EXPECT_EQ(cells[3].ch, u'o');
  editor.SetLineText(0, u"photo.jpgs");
  EXPECT_EQ(ChangedMarks(editor, 0), ".........x");
}

TEST_F(NameEditorTest, EditsInEachScopeKeepTheOtherPartOfTheName) {
  // ".gitignore" is not hidden where hiding is an attribute (Windows).
  fs.AddFolder(u"/f/", {u"archive.tar.gz", u"README"});
  fs.AddEntry(u"/f/", {u".gitignore", false, false});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", kByName));
  ASSERT_EQ(OriginalNames(editor.Names()), (Names{u".gitignore", u"README", u"archive.tar.gz"}));

  editor.SetEditScope(EditScope::BaseName);
  EXPECT_EQ(LineTexts(editor.Names()), (Names{u"", u"README", u"archive.tar"}));
  editor.SetLineText(0, u"global");
  editor.SetLineText(1, u"READ_ME");
  editor.SetLineText(2, u"backup");
  EXPECT_EQ(NewNames(editor.Names()), (Names{u"global.gitignore", u"READ_ME", u"backup.gz"}));

  editor.SetEditScope(EditScope::Extension);
  EXPECT_EQ(LineTexts(editor.Names()), (Names{u".gitignore", u"", u".gz"}));
  EXPECT_EQ(editor.MinColumn(), 1);
  editor.SetLineText(1, u"md");  // appended to a name without "."
  editor.SetLineText(2, u".tgz");
  EXPECT_EQ(NewNames(editor.Names()), (Names{u"global.gitignore", u"READ_MEmd", u"backup.tgz"}));
  // The changed marks compare with the original name's part in this scope.
  EXPECT_EQ(ChangedMarks(editor, 0), "..........");
  EXPECT_EQ(ChangedMarks(editor, 2), ".xxx");

  editor.SetEditScope(EditScope::WholeName);
  EXPECT_EQ(LineTexts(editor.Names()), (Names{u"global.gitignore", u"READ_MEmd", u"backup.tgz"}));
  EXPECT_FALSE(editor.SetEditScope(EditScope::WholeName));
}

TEST_F(NameEditorTest, ScopeButtonsFollowTheirRules) {
  Load({u"a.txt"});
  const auto state = [&] {
    return std::tuple(editor.Scope(), editor.IsChecked(ScopeButton::Name), editor.IsChecked(ScopeButton::Extension));
  };
  editor.ToggleScopeButton(ScopeButton::Extension);  // ".ext" off: base only
  EXPECT_EQ(state(), std::tuple(EditScope::BaseName, true, false));
  editor.ToggleScopeButton(ScopeButton::Name);  // the only checked one off: the other comes on
  EXPECT_EQ(state(), std::tuple(EditScope::Extension, false, true));
  editor.ToggleScopeButton(ScopeButton::Extension);
  EXPECT_EQ(state(), std::tuple(EditScope::BaseName, true, false));
  editor.ToggleScopeButton(ScopeButton::Extension);
  EXPECT_EQ(state(), std::tuple(EditScope::WholeName, true, true));
  editor.ToggleScopeButton(ScopeButton::Name);
  EXPECT_EQ(state(), std::tuple(EditScope::Extension, false, true));
  editor.ToggleScopeButton(ScopeButton::Name);
  EXPECT_EQ(state(), std::tuple(EditScope::WholeName, true, true));
}

TEST_F(NameEditorTest, LoadingReturnsToTheWholeNameScope) {
  Load({u"a.txt"});
  editor.ToggleScopeButton(ScopeButton::Name);
  ASSERT_EQ(editor.Scope(), EditScope::Extension);
  editor.SetTopLine(5);
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", kByName));
  EXPECT_EQ(editor.Scope(), EditScope::WholeName);
  EXPECT_EQ(editor.MinColumn(), 0);
  EXPECT_TRUE(editor.IsChecked(ScopeButton::Name));
  EXPECT_TRUE(editor.IsChecked(ScopeButton::Extension));
  EXPECT_EQ(editor.TopLine(), 0);
  EXPECT_EQ(ChangedMarks(editor, 0), ".....");
}

TEST_F(NameEditorTest, ALoadLeavesNothingOfThePreviousList) {
  Load({u"a-long-name-here.txt", u"b.txt", u"c.txt"});
  editor.SetLineText(0, u"edited-name.txt");
  editor.SetLineText(2, u"x");
  fs.AddFolder(u"/small/", {u"q.txt", u"p"});
  ASSERT_TRUE(editor.LoadFolder(fs, u"/small/", kByName));
  EXPECT_EQ(OriginalNames(editor.Names()), (Names{u"p", u"q.txt"}));
  EXPECT_EQ(NewNames(editor.Names()), (Names{u"p", u"q.txt"}));
  EXPECT_EQ(LineTexts(editor.Names()), (Names{u"p", u"q.txt"}));
  EXPECT_EQ(ChangedMarks(editor, 1), ".....");
  ASSERT_TRUE(editor.LoadFolder(fs, u"/f/", kByName));
  EXPECT_EQ(NewNames(editor.Names()), (Names{u"a-long-name-here.txt", u"b.txt", u"c.txt"}));
  EXPECT_EQ(ChangedMarks(editor, 2), ".....");
}

TEST_F(NameEditorTest, OutOfRangeLinesAreIgnored) {
  Load({u"a.txt"});
  editor.SetLineText(7, u"x");
  editor.SetNewName(7, u"x");
  EXPECT_TRUE(editor.LineCells(7).empty());
  EXPECT_EQ(NewNames(editor.Names()), (Names{u"a.txt"}));
}

}  // namespace
}  // namespace nomvarix
