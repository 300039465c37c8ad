// Applying and reverting through the editor session, on real temporary folders.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "apply/RenameJournal.h"
#include "platform/FileSystem.h"
#include "platform/MemorySettingsStore.h"
#include "platform/SharedFile.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;
using test::NewNames;
using test::OriginalNames;

class ApplyRevertTest : public ::testing::Test {
 protected:
  ApplyRevertTest() {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) folder.AddFile(name);
    other.AddFile("o.txt");
    session.LoadFolder(folder.Path16());
  }
  NameEditor& Editor() { return session.Editor(); }
  void Rename(std::size_t line, std::u16string name) { Editor().SetNewName(line, std::move(name)); }
  Names Disk() const { return folder.EntryNames(); }
  std::vector<bool> Marks() { return test::ErrorMarks(Editor().Names()); }

  test::TempFolder folder;
  test::TempFolder other;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  MemorySettingsStore settings;
  EditorSession session{*fs, settings};
};

TEST_F(ApplyRevertTest, VerifyWithAnInvalidCharacterRenamesNothing) {
  Rename(0, u"x?.jpg");
  Rename(1, u"fine.jpg");
  const ApplyOutcome outcome = session.ApplyChanges(true, true);
  EXPECT_EQ(outcome.kind, ApplyOutcome::Kind::ValidationFailed);
  EXPECT_EQ(Disk(), (Names{u"a.jpg", u"b.jpg", u"c.jpg"}));
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(NewNames(Editor().Names())[1], u"fine.jpg");  // nothing reloaded, nothing lost
  // No apply ran, so a revert would reload: it asks first, since the edits would be lost.
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::AsksBeforeReload);
}

TEST_F(ApplyRevertTest, SkippedFilesKeepTheirEditsAndMarksAfterTheReload) {
  Rename(0, u"b.jpg");  // taken
  Rename(2, u"z.jpg");
  const ApplyOutcome outcome = session.ApplyChanges(false, false);
  EXPECT_EQ(outcome.kind, ApplyOutcome::Kind::Applied);
  EXPECT_EQ(outcome.skipped, 1u);
  EXPECT_GT(outcome.renamed, 0u);
  EXPECT_EQ(Disk(), (Names{u"a.jpg", u"b.jpg", u"z.jpg"}));
  EXPECT_EQ(OriginalNames(Editor().Names()), (Names{u"a.jpg", u"b.jpg", u"z.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"b.jpg", u"b.jpg", u"z.jpg"}));
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(SkippedFilesMessage(outcome.skipped), u"1 file(s) were skipped due to errors or conflicts.");
  EXPECT_EQ(outcome.renamed, 1u);
  EXPECT_EQ(AppliedStatusText(outcome), u"Renamed 1 file, skipped 1.");
}

TEST(AppliedStatusText, CountsWithThousandsSeparatorsAndTheSingularForOne) {
  const auto text = [](std::size_t renamed, std::size_t skipped) {
    return AppliedStatusText({.kind = ApplyOutcome::Kind::Applied, .skipped = skipped, .renamed = renamed});
  };
  EXPECT_EQ(text(9990, 10), u"Renamed 9,990 files, skipped 10.");
  EXPECT_EQ(text(1, 0), u"Renamed 1 file, skipped 0.");
  EXPECT_EQ(text(0, 1), u"Renamed 0 files, skipped 1.");
  EXPECT_EQ(text(999, 1000), u"Renamed 999 files, skipped 1,000.");
  EXPECT_EQ(text(1234567, 100000), u"Renamed 1,234,567 files, skipped 100,000.");
}

TEST_F(ApplyRevertTest, RevertShowsTheRenamedFilesAndApplyingRenamesThemBack) {
  Rename(0, u"x.jpg");
  Rename(2, u"y.jpg");
  session.ApplyChanges(true, true);
  ASSERT_EQ(Disk(), (Names{u"b.jpg", u"x.jpg", u"y.jpg"}));

  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
  EXPECT_EQ(OriginalNames(Editor().Names()), (Names{u"b.jpg", u"x.jpg", u"y.jpg"}));
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"b.jpg", u"a.jpg", u"c.jpg"}));
  EXPECT_TRUE(Editor().Selection().IsNone());

  session.ApplyChanges(true, true);
  EXPECT_EQ(Disk(), (Names{u"a.jpg", u"b.jpg", u"c.jpg"}));
}

TEST_F(ApplyRevertTest, RevertTwiceReloadsAndAThirdTimeShowsTheListAgain) {
  Rename(0, u"x.jpg");
  session.ApplyChanges(true, true);
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
  // The reverted names are edits not applied yet: the reload that drops them is confirmed first.
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::AsksBeforeReload);
  EXPECT_EQ(session.RevertLastChanges(RevertReload::DropEdits), RevertOutcome::Reloaded);
  EXPECT_EQ(OriginalNames(Editor().Names()), (Names{u"b.jpg", u"c.jpg", u"x.jpg"}));
  EXPECT_FALSE(Editor().AnyNameChanged());
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"b.jpg", u"c.jpg", u"a.jpg"}));
}

TEST_F(ApplyRevertTest, ChangingFolderEndsTheRevert) {
  Rename(0, u"x.jpg");
  session.ApplyChanges(true, true);
  session.SwitchToFolder(other.Path16());
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::FolderMismatch);

  // Back in the first folder the batch is gone: re-armed on the next press, then nothing.
  session.SwitchToFolder(folder.Path16());
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::Reloaded);
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::NothingToRevert);
}

TEST_F(ApplyRevertTest, ARevertThatWouldReloadKeepsUnappliedEditsUntilTheUserAgrees) {
  Rename(1, u"typed.jpg");
  session.SavePendingEdits();
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::AsksBeforeReload);
  EXPECT_EQ(NewNames(Editor().Names()), (Names{u"a.jpg", u"typed.jpg", u"c.jpg"}));
  // Declining changed nothing: the revert is still not armed, so the next press asks again.
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::AsksBeforeReload);

  EXPECT_EQ(session.RevertLastChanges(RevertReload::DropEdits), RevertOutcome::Reloaded);
  EXPECT_FALSE(Editor().AnyNameChanged());
  EXPECT_EQ(session.PendingEdits().Find(folder.Path16()), nullptr);  // dropped, as "Reload" drops them
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::NothingToRevert);  // armed by the reload

  // Without edits the reload needs no question.
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::Reloaded);
}

/// The line whose name on disk is `name`.
std::size_t LineOf(const NameEditor& editor, std::u16string_view name) {
  for (std::size_t line = 0; line < editor.LineCount(); ++line) {
    if (editor.Names()[line].originalName == name) return line;
  }
  ADD_FAILURE() << "no line for " << ToUtf8(name);
  return 0;
}

// The other lines' edits outlive a revert, in every scope and whether or not the list shows the
// renamed file; putting the former names back is one step that Undo takes back.
TEST_F(ApplyRevertTest, RevertKeepsTheEditsOfEveryOtherLine) {
  struct Case {
    EditScope scope;
    bool hideRenamed;    // a filter hides the renamed file
    std::u16string typed;  // b.jpg's new name after typing "X" at the end of its line
  };
  const Case cases[] = {
      {EditScope::WholeName, false, u"b.jpgX"}, {EditScope::BaseName, false, u"bX.jpg"},
      {EditScope::Extension, false, u"b.jpgX"}, {EditScope::Extension, true, u"b.jpgX"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "scope " << static_cast<int>(c.scope) << (c.hideRenamed ? ", filtered" : ""));
    test::TempFolder disk;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) disk.AddFile(name);
    EditorSession s{*fs, settings};
    s.LoadFolder(disk.Path16());
    s.Editor().SetNewName(0, u"\u00E9t\u00E9 \U0001F600.jpg");
    ASSERT_EQ(s.ApplyChanges(true, true).renamed, 1u);
    if (c.hideRenamed) s.SetFilter(u"", u"b");
    s.Editor().SetEditScope(c.scope);
    const std::size_t b = LineOf(s.Editor(), u"b.jpg");
    const auto end = static_cast<std::int32_t>(s.Editor().Names()[b].lineText.size());
    s.Editor().SetSelection({static_cast<std::int32_t>(b), static_cast<std::int32_t>(b), end, end}, {static_cast<std::int32_t>(b), end});
    ASSERT_TRUE(s.TypeChar(u'X'));
    const NameEntry typed = s.Editor().Names()[b];
    ASSERT_EQ(typed.newName, c.typed);

    ASSERT_EQ(s.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
    const std::size_t renamed = LineOf(s.Editor(), u"\u00E9t\u00E9 \U0001F600.jpg");
    EXPECT_EQ(s.Editor().LineCount(), c.hideRenamed ? 2u : 3u);
    EXPECT_EQ(s.Editor().Names()[renamed].newName, u"a.jpg");
    EXPECT_EQ(s.Editor().Names()[renamed].lineText, ScopedPart(u"a.jpg", c.scope));
    EXPECT_EQ(s.Editor().Names()[LineOf(s.Editor(), u"b.jpg")].newName, typed.newName);
    EXPECT_EQ(s.Editor().Names()[LineOf(s.Editor(), u"b.jpg")].lineText, typed.lineText);
    EXPECT_EQ(s.Editor().Scope(), c.scope);
    if (!c.hideRenamed) {
      // Undo takes the former names back and leaves the typed edit; Redo loses nothing.
      ASSERT_TRUE(s.Undo());
      EXPECT_EQ(s.Editor().Names()[renamed].newName, s.Editor().Names()[renamed].originalName);
      EXPECT_EQ(s.Editor().Names()[b].newName, typed.newName);
      ASSERT_TRUE(s.Redo());
      EXPECT_EQ(s.Editor().Names()[renamed].newName, u"a.jpg");
      EXPECT_EQ(s.Editor().Names()[b].newName, typed.newName);
    }
    s.ApplyChanges(true, true);
    EXPECT_EQ(disk.EntryNames(), (Names{u"a.jpg", typed.newName, u"c.jpg"}));
  }
}

TEST_F(ApplyRevertTest, AnApplyThatRenamesNothingArmsAnEmptyRevert) {
  Rename(0, u"b.jpg");
  EXPECT_EQ(session.ApplyChanges(false, false).renamed, 0u);
  EXPECT_EQ(session.RevertLastChanges(), RevertOutcome::NothingToRevert);
}

TEST(ApplyJournalTest, EveryRenameHappensWhileTheWholePlanIsOnDiskAndAFinishedApplyLeavesNoJournal) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a", u"b", u"c"});
  MemorySettingsStore settings;
  EditorSession session{fs, settings};
  test::TempFolder state;
  session.SetJournalFolder(state.Path16());
  session.LoadFolder(u"/f/");
  session.Editor().SetNewName(0, u"x");
  session.Editor().SetNewName(2, u"b");  // taken: skipped, but planned all the same
  const RenameJournal expected{u"/f/", {{*fs.IdentityOf(u"/f/a"), u"a", u"x", u"", {}}, {*fs.IdentityOf(u"/f/c"), u"c", u"b", u"", {}}}};
  std::vector<std::optional<RenameJournal>> seen;
  fs.beforeRename = [&](std::u16string_view, std::u16string_view) {
    const Names journals = state.EntryNames();
    seen.push_back(journals.size() == 1 ? ParseJournal(ReadSharedFile(state.Path16() + journals[0]).value_or("")) : std::nullopt);
  };
  session.ApplyChanges(false, false);
  EXPECT_EQ(seen, (std::vector<std::optional<RenameJournal>>(2, expected)));
  EXPECT_TRUE(state.EntryNames().empty());
  EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"x", u"b", u"c"}));
}

TEST(ApplyJournalTest, WithoutAJournalNothingIsRenamedUntilTheUserSaysApplyAnyway) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path&)> spoil;  ///< turns the state folder into something unusable
    std::u16string reason;
  };
  const Case cases[] = {
      {"a file", [](const std::filesystem::path& p) { std::ofstream(p) << "x"; }, u" is a file, not a folder"},
#ifndef _WIN32
      {"a dangling link", [](const std::filesystem::path& p) { std::filesystem::create_symlink(p.string() + "-gone", p); },
       u" is a link to something that does not exist"},
#endif
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeFileSystem fs;
    fs.AddFolder(u"/f/", {u"D\u00E4cher.jpg", u"b"});
    MemorySettingsStore settings;
    EditorSession session{fs, settings};
    test::TempFolder work;
    const std::filesystem::path state = std::filesystem::path(work.Path()) / "Nomvarix";
    c.spoil(state);
    session.SetJournalFolder(FromUtf8(state.string()) + u"/");
    session.LoadFolder(u"/f/");
    session.Editor().SetNewName(0, u"\u65E5\u8A18.jpg");  // "b", listed first

    const ApplyOutcome refused = session.ApplyChanges(false, false);
    EXPECT_EQ(refused.kind, ApplyOutcome::Kind::Unprotected);
    EXPECT_EQ(refused.unprotectedReason, FromUtf8(state.string()) + c.reason);
    EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"D\u00E4cher.jpg", u"b"}));
    EXPECT_EQ(UnprotectedApplyQuestion(u"x").substr(0, 37), u"Crash protection is unavailable: x. S");

    const ApplyOutcome applied = session.ApplyChanges(false, false, WithoutJournal::Apply);
    EXPECT_EQ(applied.kind, ApplyOutcome::Kind::Applied);
    EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"D\u00E4cher.jpg", u"\u65E5\u8A18.jpg"}));
    EXPECT_EQ(AppliedStatusText(applied), u"Renamed 1 file, skipped 0. Crash protection was unavailable.");
  }
}

TEST_F(ApplyRevertTest, AFileSwappedForAnotherSinceTheLoadIsSkippedOnTheRealFileSystem) {
  for (const NameEntry& line : Editor().Names()) {
    EXPECT_EQ(line.listedIdentity, fs->IdentityOf(folder.Path16() + line.originalName)) << ToUtf8(line.originalName);
  }
  Rename(0, u"D\u00E4cher.jpg");
  Rename(1, u"\u65E5\u8A18.jpg");
  // Another program writes a new b.jpg beside the listed one and moves it into its place.
  folder.AddFile("b.new", "new");
  std::filesystem::rename(folder.Path() + "b.new", folder.Path() + "b.jpg");
  const ApplyOutcome outcome = session.ApplyChanges(false, false);
  EXPECT_EQ(outcome.skipReport, u"2: b.jpg is no longer the file listed\n");
  EXPECT_EQ(Disk(), (Names{u"D\u00E4cher.jpg", u"b.jpg", u"c.jpg"}));
  EXPECT_EQ(folder.ReadFile("b.jpg"), "new");
}

TEST(ApplyChangedFileTest, AFileThatIsNoLongerTheOneListedIsSkippedWithItsReason) {
  using Change = std::function<void(test::FakeFileSystem&, const std::u16string& path)>;
  struct Case {
    const char* what;
    Change change;
    std::u16string report;  ///< empty when the file is renamed
  };
  const Case cases[] = {
      {"swapped for another file",
       [](test::FakeFileSystem& fs, const std::u16string& path) {
         fs.RemoveFile(path);
         fs.AddFile(path, {});
       },
       u"1: D\u00E4cher.jpg is no longer the file listed\n"},
      {"replaced by a folder",
       [](test::FakeFileSystem& fs, const std::u16string& path) {
         fs.RemoveFile(path);
         fs.AddEntry(u"/f/", {path.substr(3), true});
       },
       u"1: D\u00E4cher.jpg is no longer a file (now a folder, a FIFO or a device)\n"},
      {"deleted", [](test::FakeFileSystem& fs, const std::u16string& path) { fs.RemoveFile(path); },
       u"1: D\u00E4cher.jpg is no longer there\n"},
      {"unchanged", [](test::FakeFileSystem&, const std::u16string&) {}, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeFileSystem fs;
    fs.AddFolder(u"/f/", {u"D\u00E4cher.jpg", u"\u65E5\u8A18.txt"});
    MemorySettingsStore settings;
    EditorSession session{fs, settings};
    test::TempFolder state;
    session.SetJournalFolder(state.Path16());
    session.LoadFolder(u"/f/");
    session.Editor().SetNewName(0, u"\u00DF-1.jpg");
    session.Editor().SetNewName(1, u"\u00DF-2.txt");
    c.change(fs, u"/f/D\u00E4cher.jpg");

    const ApplyOutcome outcome = session.ApplyChanges(false, false);
    EXPECT_EQ(outcome.skipReport, c.report);
    EXPECT_EQ(outcome.skipped, c.report.empty() ? 0u : 1u);
    EXPECT_EQ(fs.EntryExists(u"/f/\u00DF-1.jpg"), c.report.empty());
    EXPECT_TRUE(fs.EntryExists(u"/f/\u00DF-2.txt"));
  }
}

}  // namespace
}  // namespace nomvarix

namespace nomvarix {
namespace {

// Shifted numbering, a swap and a rotation in one batch, on both kinds of file system: validation
// finds nothing, the confirmation says what will happen, the apply moves every file (told apart by
// its identity) to its new name, and the revert's apply brings each one back.
TEST(ChainedApplyTest, ShiftsSwapsAndRotationsApplyWholeAndRevertExactly) {
  for (const bool caseInsensitive : {false, true}) {
    test::FakeFileSystem fs;
    fs.SetCaseInsensitive(caseInsensitive);
    // In the list's order, which puts the names beyond ASCII first.
    const Names files{u"r\u00E9", u"x\u65E5", u"z\U0001F600", u"Photo_1.jpg", u"Photo_2.jpg", u"Photo_3.jpg",
                      u"a.txt", u"b.txt"};
    const Names renamed{u"x\u65E5", u"z\U0001F600", u"r\u00E9", u"Photo_2.jpg", u"Photo_3.jpg", u"photo_4.jpg",
                        u"B.txt", u"a.txt"};
    fs.AddFolder(u"/f/", files);
    MemorySettingsStore settings;
    EditorSession session(fs, settings);
    ASSERT_TRUE(session.LoadFolder(u"/f/"));
    ASSERT_EQ(OriginalNames(session.Editor().Names()), files);
    for (std::size_t line = 0; line < files.size(); ++line) session.Editor().SetNewName(line, renamed[line]);

    EXPECT_TRUE(session.Validate().empty());
    EXPECT_TRUE(session.Links().diskNameLinks.empty());
    // Where case counts, "B.txt" is free and a.txt and b.txt make a chain, not a swap.
    EXPECT_EQ(session.ApplySummary(),
              caseInsensitive ? u"8 renames, 2 of them in one chain; 1 swap; 1 rotation through a temporary name."
                              : u"8 renames, 3 of them in 2 chains; 1 rotation through a temporary name.");
    const ApplyOutcome outcome = session.ApplyChanges(true, false);
    EXPECT_EQ(outcome.renamed, 8u);
    EXPECT_EQ(outcome.skipped, 0u);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(fs.InodeOf(u"/f/" + renamed[i]), i + 1) << ToUtf8(renamed[i]);

    ASSERT_EQ(session.RevertLastChanges(), RevertOutcome::ShowsRenamedFiles);
    EXPECT_TRUE(session.Validate().empty());
    EXPECT_EQ(session.ApplyChanges(true, false).renamed, 8u);
    for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(fs.InodeOf(u"/f/" + files[i]), i + 1) << ToUtf8(files[i]);
    EXPECT_EQ(fs.FileNames(u"/f/").size(), files.size());
  }
}

}  // namespace
}  // namespace nomvarix
