// Long work of the session cancelled part way: what was done is kept and recorded, nothing else
// changes, and no edit is lost.
#include <algorithm>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/CancellingProgress.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::NewNames;
using test::OriginalNames;

class CancelledApplyTest : public ::testing::Test {
 protected:
  CancelledApplyTest() {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) folder.AddFile(name);
    session.LoadFolder(folder.Path16());
    session.SetProgressFactory(progress);
  }
  NameEditor& Editor() { return session.Editor(); }
  Names Disk() const { return folder.EntryNames(); }
  std::vector<bool> Marks() { return test::ErrorMarks(Editor().Names()); }
  /// Every line renamed to "x_<name>", but "b.jpg" to the taken "c.jpg", which stays.
  void EditEveryLine() {
    for (std::size_t line = 0; line < Editor().LineCount(); ++line) {
      Editor().SetNewName(line, u"x_" + Editor().Names()[line].originalName);
    }
    Editor().SetNewName(1, u"c.jpg");
    Editor().SetNewName(2, u"c.jpg");
  }

  test::TempFolder folder;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session{*fs, settings};
  test::CancellingFactory progress;
};

TEST_F(CancelledApplyTest, StopsAfterTheLinesDoneWhichAloneAreRecordedForRevert) {
  EditEveryLine();
  progress.limits[WorkKind::Renaming] = 3;  // lines a, b (skipped) and d, then the cancel
  const ApplyOutcome outcome = session.ApplyChanges(false, false);
  EXPECT_EQ(outcome.kind, ApplyOutcome::Kind::Applied);
  EXPECT_EQ(outcome.skipped, 1u);
  EXPECT_EQ(outcome.renamed, 2u);
  EXPECT_EQ(Disk(), (Names{u"b.jpg", u"c.jpg", u"e.jpg", u"x_a.jpg", u"x_d.jpg"}));

  // The skipped line is marked, the lines never reached keep their edits unmarked.
  EXPECT_EQ(OriginalNames(Editor().Names()), (Names{u"b.jpg", u"c.jpg", u"e.jpg", u"x_a.jpg", u"x_d.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"c.jpg", u"c.jpg", u"x_e.jpg", u"x_a.jpg", u"x_d.jpg"}));
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false, false, false}));

  // The revert gives the renamed files their former names; the other lines keep their edits.
  ASSERT_EQ(session.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
  EXPECT_EQ(OriginalNames(Editor().Names()), (Names{u"b.jpg", u"c.jpg", u"e.jpg", u"x_a.jpg", u"x_d.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"c.jpg", u"c.jpg", u"x_e.jpg", u"a.jpg", u"d.jpg"}));
  for (std::int32_t line = 0; line < 3; ++line) session.ResetName(line);
  progress.limits.erase(WorkKind::Renaming);
  session.ApplyChanges(false, false);
  EXPECT_EQ(Disk(), (Names{u"a.jpg", u"b.jpg", u"c.jpg", u"d.jpg", u"e.jpg"}));
}

TEST_F(CancelledApplyTest, ACancelBeforeTheFirstRenameRecordsNothingAndKeepsEveryEdit) {
  EditEveryLine();
  progress.limits[WorkKind::Renaming] = 0;
  const ApplyOutcome outcome = session.ApplyChanges(false, false);
  EXPECT_EQ(outcome.renamed, 0u);
  EXPECT_EQ(outcome.skipped, 0u);
  EXPECT_EQ(Disk(), (Names{u"a.jpg", u"b.jpg", u"c.jpg", u"d.jpg", u"e.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"x_a.jpg", u"c.jpg", u"c.jpg", u"x_d.jpg", u"x_e.jpg"}));
  EXPECT_EQ(Marks(), (std::vector<bool>(5, false)));
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::NothingToRevert);
}

TEST_F(CancelledApplyTest, TheReloadAfterTheRenamesIsNoFolderLoadThatCanBeCancelled) {
  EditEveryLine();
  progress.limits[WorkKind::Renaming] = 3;
  progress.limits[WorkKind::LoadingFolder] = 0;
  session.ApplyChanges(false, false);
  EXPECT_EQ(Editor().CurrentFolder(), folder.Path16());
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"c.jpg", u"c.jpg", u"x_e.jpg", u"x_a.jpg", u"x_d.jpg"}));
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false, false, false}));
}

TEST(CancelledLoadTest, LeavesAnEmptyEditorTheEditsRememberedAndNoRevertArmed) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.txt", u"b.txt"});
  fs.AddFolder(u"/g/", {u"c.txt", u"d.txt", u"e.txt"});
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  test::CancellingFactory progress;
  session.SetProgressFactory(progress);
  ASSERT_TRUE(session.LoadFolder(u"/f/"));
  session.Editor().SetNewName(0, u"z.txt");

  progress.limits[WorkKind::LoadingFolder] = 2;
  session.SwitchToFolder(u"/g/");
  EXPECT_EQ(session.Editor().LineCount(), 0u);
  EXPECT_TRUE(session.Editor().CurrentFolder().empty());
  EXPECT_FALSE(session.LoadFolder(u"/g/"));

  progress.limits.clear();
  session.SwitchToFolder(u"/f/");
  EXPECT_EQ(NewNames(session.Editor().Names()), (Names{u"z.txt", u"b.txt"}));

  // A revert's reload that was cancelled arms nothing: the next revert reloads again.
  session.ResetAllNames();
  progress.limits[WorkKind::LoadingFolder] = 1;
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::Reloaded);
  EXPECT_EQ(session.Editor().LineCount(), 0u);
  progress.limits.clear();
  ASSERT_TRUE(session.LoadFolder(u"/f/"));
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::Reloaded);
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::NothingToRevert);
}

TEST(CancelledInsertionTest, TheLinesDoneAreOneUndoStep) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.txt", u"b.txt", u"c.txt", u"d.txt"});
  for (const char16_t* name : {u"/f/a.txt", u"/f/b.txt", u"/f/c.txt", u"/f/d.txt"}) {
    fs.SetCreationTime(name, FileClock::time_point{} + std::chrono::hours(24 * 365));
  }
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  test::CancellingFactory progress;
  session.SetProgressFactory(progress);
  ASSERT_TRUE(session.LoadFolder(u"/f/"));
  NameEditor& editor = session.Editor();
  editor.SetSelection({0, 3, 0, 0}, {3, 0});

  progress.limits[WorkKind::InsertingDates] = 2;
  session.InsertCreationDate(u"yyMMdd");
  EXPECT_EQ(test::LineTexts(editor.Names()), (Names{u"710101a.txt", u"710101b.txt", u"c.txt", u"d.txt"}));
  EXPECT_EQ(editor.Selection(), (BlockSelection{0, 3, 6, 6}));
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(test::LineTexts(editor.Names()), (Names{u"a.txt", u"b.txt", u"c.txt", u"d.txt"}));
  EXPECT_FALSE(editor.CanUndo());
}

TEST(CancelledSearchTest, ACancelledReplaceAllLeavesEveryLineAsItWasAndAFindSelectsNothing) {
  test::FakeFileSystem fs;
  const Names names{u"a1.txt", u"b2.txt", u"c3 caf\u00E9.txt", u"d4\xDCE9.txt"};
  fs.AddFolder(u"/f/", names);
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  test::CancellingFactory progress;
  session.SetProgressFactory(progress);
  ASSERT_TRUE(session.LoadFolder(u"/f/"));
  NameEditor& editor = session.Editor();
  const SearchOptions regex{.regex = true};

  progress.limits[WorkKind::ReplacingAll] = 2;
  const ReplaceAllOutcome cancelled = session.ReplaceAll(u"(\\d)", u"<$1>", regex);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_EQ(cancelled.count, 0u);
  EXPECT_EQ(test::LineTexts(editor.Names()), names);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(ReplaceAllMessage(cancelled), u"");

  progress.limits[WorkKind::Searching] = 1;
  editor.SetSelection({0, 0, 0, 0}, {0, 0});
  const SearchOutcome find = session.FindNext(u"d4", {});
  EXPECT_TRUE(find.cancelled);
  EXPECT_FALSE(find.found);
  EXPECT_EQ(editor.Selection(), (BlockSelection{0, 0, 0, 0}));

  progress.limits.clear();
  EXPECT_EQ(session.ReplaceAll(u"(\\d)", u"<$1>", regex).count, 4u);
  EXPECT_EQ(test::LineTexts(editor.Names()),
            (Names{u"a<1>.txt", u"b<2>.txt", u"c<3> caf\u00E9.txt", u"d<4>\xDCE9.txt"}));
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(test::LineTexts(editor.Names()), names);
}

}  // namespace
}  // namespace nomvarix
