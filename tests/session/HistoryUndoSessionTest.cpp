// Undoing history entries through the editor session, on real temporary folders.
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/SettingKeys.h"
#include "session/EditorSession.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

class HistoryUndoSessionTest : public ::testing::Test {
 protected:
  HistoryUndoSessionTest() {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) folder.AddFile(name);
    session.SetStateFolder(state.Path16());
    session.LoadFolder(folder.Path16());
  }
  /// Gives the lines of `from` the names `to` and applies.
  void Apply(const std::vector<std::pair<std::size_t, std::u16string>>& renames) {
    for (const auto& [line, name] : renames) session.Editor().SetNewName(line, name);
    ASSERT_EQ(session.ApplyChanges(false, false).kind, ApplyOutcome::Kind::Applied);
  }
  std::vector<HistoryEntry> History() {
    std::u16string message;
    return session.ReadRenameHistory(message);
  }

  test::TempFolder folder;
  test::TempFolder other;
  test::TempFolder state;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session{*fs, settings};
};

TEST_F(HistoryUndoSessionTest, AnUndoPutsBackOneApplyAndIsItselfAnEntryThatCanBeUndone) {
  Apply({{0, u"\U0001F600 a.jpg"}, {1, u"b .jpg"}});  // lines: a b c d
  Apply({{2, u"x.jpg"}});                             // d.jpg, lines: b .jpg c d 😀 a
  std::vector<HistoryEntry> history = History();
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].files.size(), 2u);
  EXPECT_EQ(history[0].folder, folder.Path16());
  EXPECT_EQ(StateOf(history[0], *fs), HistoryState::CanBeUndone);

  // An unapplied edit of a file the undo moves goes with it; another line keeps its own.
  session.Editor().SetNewName(0, u"edited b.jpg");  // the file now "b .jpg"
  session.Editor().SetNewName(1, u"edited c.jpg");  // "c.jpg"
  const HistoryUndoOutcome outcome = session.UndoFromHistory(history[0], {});
  EXPECT_EQ(outcome.kind, HistoryUndoOutcome::Kind::Undone);
  EXPECT_EQ(outcome.renamed, 2u);
  EXPECT_TRUE(outcome.report.empty());
  EXPECT_EQ(folder.EntryNames(), (Names{u"a.jpg", u"b.jpg", u"c.jpg", u"x.jpg"}));
  EXPECT_EQ(test::OriginalNames(session.Editor().Names()), (Names{u"a.jpg", u"b.jpg", u"c.jpg", u"x.jpg"}));
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (Names{u"a.jpg", u"edited b.jpg", u"edited c.jpg", u"x.jpg"}));

  history = History();
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[2].kind, HistoryKind::Undo);
  EXPECT_EQ(history[2].undoes, history[0].id);
  EXPECT_EQ(StateOf(history[0], *fs), HistoryState::Undone);
  EXPECT_EQ(StateOf(history[2], *fs), HistoryState::CanBeUndone);

  // Undoing the undo, with another folder shown: the first apply's names come back.
  session.LoadFolder(other.Path16());
  EXPECT_EQ(session.UndoFromHistory(history[2], {}).renamed, 2u);
  EXPECT_EQ(folder.EntryNames(), (Names{u"b .jpg", u"c.jpg", u"x.jpg", u"\U0001F600 a.jpg"}));
}

TEST_F(HistoryUndoSessionTest, FilesThatCannotGoBackAreListedAndNothingIsReplaced) {
  Apply({{0, u"e.jpg"}, {1, u"f.jpg"}, {2, u"g.jpg"}});
  const HistoryEntry entry = History().back();
  folder.AddFile("a.jpg", "a new file under the old name");
  ASSERT_EQ(std::remove((folder.Path() + "g.jpg").c_str()), 0);
  ASSERT_EQ(std::rename((folder.Path() + "f.jpg").c_str(), (folder.Path() + "moved.jpg").c_str()), 0);
  const struct {
    UndoChoice choice;
    std::size_t renamed;
    Names disk;
  } cases[] = {
      {{{false, true, false}, false}, 0, {u"a.jpg", u"d.jpg", u"e.jpg", u"moved.jpg"}},  // asks before "moved.jpg"
      {{{}, true}, 1, {u"a.jpg", u"b.jpg", u"d.jpg", u"e.jpg"}},
  };
  for (const auto& c : cases) {
    const HistoryUndoOutcome outcome = session.UndoFromHistory(entry, c.choice);
    EXPECT_EQ(outcome.renamed, c.renamed);
    EXPECT_EQ(folder.EntryNames(), c.disk);
  }
  EXPECT_EQ(folder.ReadFile("a.jpg"), "a new file under the old name");
  const HistoryUndoOutcome last = session.UndoFromHistory(entry, {});
  EXPECT_EQ(last.kind, HistoryUndoOutcome::Kind::NothingToUndo);
  EXPECT_NE(last.report.find(u"e.jpg: stays: another file is named a.jpg now"), std::u16string::npos);
  EXPECT_NE(last.report.find(u"g.jpg: stays: the file is gone"), std::u16string::npos);
}

TEST_F(HistoryUndoSessionTest, NoHistoryIsKeptWhenTheSettingIsOff) {
  session.ToggleKeepRenameHistory();
  EXPECT_FALSE(settings.ReadFlag(settings::kKeepRenameHistory, true));
  Apply({{0, u"z.jpg"}});
  EXPECT_TRUE(History().empty());
  session.ToggleKeepRenameHistory();
  Apply({{0, u"y.jpg"}});
  EXPECT_EQ(History().size(), 1u);
}

}  // namespace
}  // namespace nomvarix
