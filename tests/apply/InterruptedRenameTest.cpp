#include "apply/InterruptedRename.h"

#include <algorithm>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "apply/RenameBatch.h"
#include "platform/LockedFile.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

/// A folder /f/ and a journal planning the renames given, of which the test then carries out some.
class InterruptedRenameTest : public ::testing::Test {
 protected:
  void Plan(const Names& files, const std::vector<std::pair<std::u16string, std::u16string>>& renames) {
    fs.AddFolder(u"/f/", files);
    journal.folder = u"/f/";
    for (const auto& [before, after] : renames) journal.steps.push_back({*fs.IdentityOf(u"/f/" + before), before, after, u"", {}});
  }
  void Move(const std::u16string& from, const std::u16string& to) {
    ASSERT_EQ(fs.RenameNoReplace(u"/f/" + from, u"/f/" + to), RenameResult::Renamed);
  }
  Names Disk() const {
    Names names = fs.FileNames(u"/f/");
    std::sort(names.begin(), names.end());
    return names;
  }

  test::FakeFileSystem fs;
  RenameJournal journal;
};

TEST_F(InterruptedRenameTest, UndoFindsFilesByIdentityAndPutsChainsBackInReverse) {
  Plan({u"a", u"b", u"c", u"other"}, {{u"b", u"c2"}, {u"a", u"b"}, {u"c", u"d"}});
  Move(u"b", u"c2");
  Move(u"a", u"b");  // takes the name the first rename left
  const InterruptedRename rename(journal, fs);
  EXPECT_FALSE(rename.FolderUnreadable());
  EXPECT_EQ(rename.Done(), 2u);
  EXPECT_EQ(rename.Planned(), 3u);
  EXPECT_EQ(rename.Question(), u"An earlier rename in /f/ was interrupted after 2 of 3 files.\n\n"
                               u"Undo the renames that took effect, or keep the new names?");
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"a", u"b", u"c", u"other"}));
}

TEST_F(InterruptedRenameTest, AFileWhoseOldNameWasTakenStaysAndIsReported) {
  Plan({u"a", u"b"}, {{u"a", u"x"}, {u"b", u"y"}});
  Move(u"a", u"x");
  Move(u"b", u"y");
  fs.AddEntry(u"/f/", {u"a"});  // another program's new file
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 2u);
  const Names unplaced = rename.Settle(RecoveryChoice::Undo, fs).unplaced;
  EXPECT_EQ(unplaced, Names{u"x"});
  EXPECT_EQ(Disk(), (Names{u"a", u"b", u"x"}));
  EXPECT_EQ(SettleMessage(RecoveryChoice::Undo, {unplaced, {}}),
            u"These files keep their new names, because other files have their old names now:\nx");
  EXPECT_EQ(SettleMessage(RecoveryChoice::Undo, {}), u"");
}

TEST_F(InterruptedRenameTest, KeepLeavesRenamedFilesAndMovesNone) {
  Plan({u"a", u"b", u"c"}, {{u"a", u"x"}, {u"b", u"y"}, {u"c", u"z"}});
  Move(u"a", u"x_00001");  // auto-renamed: still done, found by identity
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 1u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Keep, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"b", u"c", u"x_00001"}));
}

TEST_F(InterruptedRenameTest, NoFileStaysUnderATemporaryName) {
  const auto stranded = [this](const Names& extra) {
    fs = test::FakeFileSystem();
    journal = {};
    Plan({u"One.txt", u"Two.txt"}, {{u"One.txt", u"one.txt"}, {u"Two.txt", u"two.txt"}});
    journal.steps[0].temporary = u".nomvarix-1.tmp";
    journal.steps[1].temporary = u".nomvarix-2.tmp";
    Move(u"One.txt", u".nomvarix-1.tmp");
    for (const std::u16string& name : extra) fs.AddEntry(u"/f/", {name});
    return InterruptedRename(journal, fs);
  };
  EXPECT_EQ(stranded({}).Done(), 1u);
  EXPECT_TRUE(stranded({}).Settle(RecoveryChoice::Undo, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt"}));
  EXPECT_TRUE(stranded({}).Settle(RecoveryChoice::Keep, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"Two.txt", u"one.txt"}));
  // The new name taken: keeping takes the old one back; the old one taken: undoing takes the new.
  EXPECT_TRUE(stranded({u"one.txt"}).Settle(RecoveryChoice::Keep, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt", u"one.txt"}));
  EXPECT_EQ(stranded({u"One.txt"}).Settle(RecoveryChoice::Undo, fs).unplaced, Names{u"one.txt"});
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt", u"one.txt"}));
  // Both taken: it stays, and is reported.
  EXPECT_EQ(stranded({u"One.txt", u"one.txt"}).Settle(RecoveryChoice::Keep, fs).unplaced, Names{u".nomvarix-1.tmp"});
  EXPECT_EQ(SettleMessage(RecoveryChoice::Keep, {{u".nomvarix-1.tmp"}, {}}),
            u"These files could not leave their temporary names:\n.nomvarix-1.tmp");
}

TEST_F(InterruptedRenameTest, TheRenamesLeftAfterSettlingAreWhatTheHistoryRecords) {
  using Renamed = std::vector<std::pair<std::u16string, std::u16string>>;
  const struct {
    RecoveryChoice choice;
    Names extra;  // files another program made meanwhile
    Renamed renamed;
  } cases[] = {
      {RecoveryChoice::Keep, {}, {{u"a", u"\U0001F600 x"}, {u"T.txt", u"t.txt"}}},
      {RecoveryChoice::Undo, {}, {}},
      {RecoveryChoice::Undo, {u"a"}, {{u"a", u"\U0001F600 x"}}},      // its old name taken: it stays renamed
      {RecoveryChoice::Keep, {u"t.txt"}, {{u"a", u"\U0001F600 x"}}},  // back from its temporary name
  };
  for (const auto& c : cases) {
    fs = test::FakeFileSystem();
    journal = {};
    Plan({u"a", u"b", u"T.txt"}, {{u"a", u"\U0001F600 x"}, {u"b", u"y"}, {u"T.txt", u"t.txt"}});
    journal.steps[2].temporary = u".nomvarix-1.tmp";
    Move(u"a", u"\U0001F600 x");
    Move(u"T.txt", u".nomvarix-1.tmp");
    for (const std::u16string& name : c.extra) fs.AddEntry(u"/f/", {name});
    const SettleReport report = InterruptedRename(journal, fs).Settle(c.choice, fs);
    Renamed renamed;
    for (const HistoryFile& file : report.renamed) {
      renamed.emplace_back(file.oldName, file.newName);
      EXPECT_EQ(fs.IdentityOf(u"/f/" + file.newName), file.identity);
    }
    EXPECT_EQ(renamed, c.renamed);
  }
}

TEST_F(InterruptedRenameTest, UndoingANewSpellingOnACaseInsensitiveSystemGoesThroughItsTemporaryName) {
  fs.SetCaseInsensitive(true);
  Plan({u"Photo.JPG", u"b"}, {{u"Photo.JPG", u"photo.jpg"}, {u"b", u"c"}});
  journal.steps[0].temporary = u".nomvarix-1.tmp";
  Move(u"Photo.JPG", u".nomvarix-1.tmp");
  Move(u".nomvarix-1.tmp", u"photo.jpg");
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 1u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).unplaced.empty());
  EXPECT_EQ(Disk(), (Names{u"Photo.JPG", u"b"}));
}

TEST_F(InterruptedRenameTest, AJournalOfAFolderThatIsGoneChangesNothing) {
  Plan({u"a"}, {{u"a", u"x"}});
  Move(u"a", u"x");
  fs.RemoveFolder(u"/f/");
  const InterruptedRename rename(journal, fs);
  EXPECT_TRUE(rename.FolderUnreadable());
  EXPECT_EQ(rename.Done(), 0u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).unplaced.empty());
  EXPECT_NE(FolderUnreadableQuestion(u"/f/").find(u"rename in /f/ was interrupted"), std::u16string::npos);
}

TEST_F(InterruptedRenameTest, ManyUnplacedFilesAreListedInPart) {
  Names names;
  for (char16_t c = u'a'; c < u'a' + 25; ++c) names.push_back(std::u16string{u'f', c});
  const std::u16string text = SettleMessage(RecoveryChoice::Undo, {names, {}});
  EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 21);
  EXPECT_TRUE(text.ends_with(u"\nft\n(and 5 more)"));
}

/// What a user did between the crash and the restart, and what recovery must make of it.
struct OutsideChange {
  const char* what;
  IdentityPermanence permanence;
  bool withAttributes;  ///< false: a journal written before attributes were kept
  std::function<void(test::FakeFileSystem&)> change;
  std::size_t done;
  std::size_t unsure;
  Names afterUndo;
};

TEST(InterruptedRenameOutsideTest, OnlyTheJournalsOwnFilesAreMovedWhateverHappenedMeanwhile) {
  const std::u16string f = u"/f/";
  const auto renumberAll = [](test::FakeFileSystem& fs) {
    // Numbers given per mount: after a remount each file has another file's old number.
    std::map<std::uint64_t, std::uint64_t> renumbered;
    const Names names = fs.FileNames(u"/f/");
    for (std::size_t i = 0; i < names.size(); ++i) {
      renumbered[fs.InodeOf(u"/f/" + names[i])] = fs.InodeOf(u"/f/" + names[(i + 1) % names.size()]);
    }
    fs.Renumber(renumbered);
  };
  const std::vector<OutsideChange> cases = {
      {"nothing", IdentityPermanence::Lasting, true, [](test::FakeFileSystem&) {}, 2, 0,
       {u"D\u00E4cher 1.jpg", u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg"}},
      {"a new file got the number of a deleted, not yet renamed one", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) {
         const std::uint64_t freed = fs.InodeOf(u"/f/D\u00E4cher 4.jpg");
         fs.RemoveFile(u"/f/D\u00E4cher 4.jpg");
         fs.AddFile(u"/f/Neue Notiz 2.txt", {7, 99, 99}, freed);
       },
       2, 0, {u"D\u00E4cher 1.jpg", u"D\u00E4cher 2.jpg", u"Neue Notiz 2.txt"}},
      {"the freed number went to a file under the new name", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) {
         const std::uint64_t freed = fs.InodeOf(u"/f/Strand 1.jpg");
         fs.RemoveFile(u"/f/Strand 1.jpg");
         fs.AddFile(u"/f/Strand 1.jpg", {7, 99, 99}, freed);
       },
       1, 1, {u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg", u"Strand 1.jpg"}},
      {"remounted: numbers given anew", IdentityPermanence::PerMount, true, renumberAll, 2, 0,
       {u"D\u00E4cher 1.jpg", u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg"}},
      {"remounted, and a journal without attributes", IdentityPermanence::PerMount, false, renumberAll, 0, 2,
       {u"D\u00E4cher 4.jpg", u"Strand 1.jpg", u"Strand 2.jpg"}},
      {"a hard link under another name", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) { fs.AddHardLink(u"/f/Strand 1.jpg", u"/f/\u65E5\u8A18.jpg"); }, 2, 0,
       {u"D\u00E4cher 1.jpg", u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg", u"\u65E5\u8A18.jpg"}},
      {"a hard link under a name the apply could have left", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) { fs.AddHardLink(u"/f/Strand 1.jpg", u"/f/Strand 1_00001.jpg"); }, 1, 1,
       {u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg", u"Strand 1.jpg", u"Strand 1_00001.jpg"}},
      {"renamed by hand to another name", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) { fs.RenameNoReplace(u"/f/Strand 2.jpg", u"/f/Meer.jpg"); }, 1, 0,
       {u"D\u00E4cher 1.jpg", u"D\u00E4cher 4.jpg", u"Meer.jpg"}},
      {"written to after the crash", IdentityPermanence::Lasting, true,
       [](test::FakeFileSystem& fs) { fs.SetAttributes(u"/f/Strand 2.jpg", {8, 100, 2}); }, 1, 1,
       {u"D\u00E4cher 1.jpg", u"D\u00E4cher 4.jpg", u"Strand 2.jpg"}},
  };
  for (const OutsideChange& c : cases) {
    SCOPED_TRACE(c.what);
    test::FakeFileSystem fs;
    fs.SetIdentityPermanence(c.permanence);
    fs.AddFolder(f, {});
    RenameJournal journal{f, {}};
    const Names before{u"D\u00E4cher 1.jpg", u"D\u00E4cher 2.jpg", u"D\u00E4cher 4.jpg"};
    const Names after{u"Strand 1.jpg", u"Strand 2.jpg", u"Strand 4.jpg"};
    for (std::size_t i = 0; i < before.size(); ++i) {
      const FileAttributes attributes{i * 10, static_cast<std::int64_t>(i + 1), static_cast<std::int64_t>(i + 1)};
      fs.AddFile(f + before[i], attributes);
      journal.steps.push_back({*fs.IdentityOf(f + before[i]), before[i], after[i], u"", c.withAttributes ? attributes : FileAttributes{}});
    }
    // Killed after two of three.
    fs.RenameNoReplace(f + before[0], f + after[0]);
    fs.RenameNoReplace(f + before[1], f + after[1]);
    c.change(fs);
    const InterruptedRename rename(journal, fs);
    EXPECT_EQ(rename.Done(), c.done);
    EXPECT_EQ(rename.Unsure(), c.unsure);
    rename.Settle(RecoveryChoice::Undo, fs);
    Names disk = fs.FileNames(f);
    std::sort(disk.begin(), disk.end());
    EXPECT_EQ(disk, c.afterUndo);
  }
}

TEST(InterruptedRenameOutsideTest, AFileChangedWhileTheQuestionWasOpenIsLeftAndReported) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {});
  fs.AddFile(u"/f/a.jpg", {1, 1, 1});
  fs.AddFile(u"/f/b.jpg", {2, 2, 2});
  const RenameJournal journal{u"/f/", {{*fs.IdentityOf(u"/f/a.jpg"), u"a.jpg", u"Eins.jpg", u"", {1, 1, 1}},
                                       {*fs.IdentityOf(u"/f/b.jpg"), u"b.jpg", u"Zwei.jpg", u"", {2, 2, 2}}}};
  fs.RenameNoReplace(u"/f/a.jpg", u"/f/Eins.jpg");
  fs.RenameNoReplace(u"/f/b.jpg", u"/f/Zwei.jpg");
  const InterruptedRename rename(journal, fs);
  ASSERT_EQ(rename.Done(), 2u);
  // Another instance swaps the two names while the question is open.
  fs.RenameNoReplace(u"/f/Eins.jpg", u"/f/tmp");
  fs.RenameNoReplace(u"/f/Zwei.jpg", u"/f/Eins.jpg");
  fs.RenameNoReplace(u"/f/tmp", u"/f/Zwei.jpg");
  const SettleReport report = rename.Settle(RecoveryChoice::Undo, fs);
  EXPECT_EQ(report.changed, (Names{u"Eins.jpg", u"Zwei.jpg"}));
  EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"Zwei.jpg", u"Eins.jpg"}));
  EXPECT_EQ(SettleMessage(RecoveryChoice::Undo, report),
            u"These files were left as they are, because they changed or were replaced meanwhile:\nEins.jpg\nZwei.jpg");
}

/// A journal of `files` renamed to "<name>.new" of which the first `renamed` were done, written to
/// `state` as a program that ended would leave it.
void LeaveJournal(const test::TempFolder& files, const test::TempFolder& state, const Names& names, std::size_t renamed) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  RenameJournal journal{files.Path16(), {}};
  for (const std::u16string& name : names) {
    const std::optional<FileStamp> stamp = fs->StampOf(files.Path16() + name);
    ASSERT_TRUE(stamp);
    journal.steps.push_back({stamp->identity, name, name + u".new", u"", stamp->attributes});
  }
  for (std::size_t i = 0; i < renamed; ++i) fs->RenameNoReplace(files.Path16() + names[i], files.Path16() + names[i] + u".new");
  ASSERT_TRUE(WriteJournal(journal, state.Path16()));
}

TEST(LeftJournalsTest, OnlyJournalsThatNeedTheUserAreTakenOverTheRestAreCleanedUp) {
  struct Case {
    const char* what;
    std::size_t renamed;
    bool folderGone;
    std::size_t takenOver;
    std::size_t journalsLeft;
  };
  const Case cases[] = {
      {"something renamed", 1, false, 1, 1},
      {"nothing renamed: removed without a question", 0, false, 0, 0},
      {"the folder cannot be listed: kept, asked about at each start", 1, true, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
    test::TempFolder state;
    auto files = std::make_unique<test::TempFolder>();
    files->AddFile("D\xC3\xA4" "cher.jpg", "1");
    files->AddFile("\xE6\x97\xA5\xE8\xA8\x98.txt", "22");
    LeaveJournal(*files, state, {u"D\u00E4cher.jpg", u"\u65E5\u8A18.txt"}, c.renamed);
    const std::u16string folder = files->Path16();
    if (c.folderGone) files.reset();  // as with a drive not mounted
    // Asked about at each start for as long as it is kept.
    for (int start = 0; start < 2; ++start) {
      const std::vector<LeftJournal> left = TakeOverLeftJournals(*fs, state.Path16());
      ASSERT_EQ(left.size(), c.takenOver);
      if (left.empty()) continue;
      EXPECT_EQ(left[0].rename.FolderUnreadable(), c.folderGone);
      EXPECT_EQ(left[0].rename.Folder(), folder);
    }
    EXPECT_EQ(state.EntryNames().size(), c.journalsLeft);
  }
}

TEST(LeftJournalsTest, AJournalAKilledProgramWasStillWritingIsRemovedUnlessARunningOneHoldsIt) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  test::TempFolder state;
  state.AddFile("rename-0123456789abcdef.journal.partial", "{\"format\": \"nomvarix-rename");
  state.AddFile("unrelated.partial", "x");
  EXPECT_TRUE(TakeOverLeftJournals(*fs, state.Path16()).empty());
  EXPECT_EQ(state.EntryNames(), Names{u"unrelated.partial"});
}

TEST(LeftJournalsTest, OnlyJournalsNoRunningProgramHoldsAreTakenOverAndUnreadableOnesStay) {
  test::TempFolder files;
  test::TempFolder state;
  files.AddFile("a");
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const RenameJournal left{files.Path16(), {{*fs->IdentityOf(files.Path16() + u"a"), u"a", u"b", u"", {}}}};
  ASSERT_TRUE(WriteJournal(left, state.Path16()));  // released at once, as by a program that ended
  const std::unique_ptr<LockedFile> held = WriteJournal(left, state.Path16());
  state.AddFile("rename-later-version.journal", R"({"format": "nomvarix-rename-journal", "version": 3})");
  ASSERT_EQ(fs->RenameNoReplace(files.Path16() + u"a", files.Path16() + u"b"), RenameResult::Renamed);

  std::vector<LeftJournal> found = TakeOverLeftJournals(*fs, state.Path16());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].rename.Done(), 1u);
  EXPECT_TRUE(found[0].rename.Settle(RecoveryChoice::Undo, *fs).unplaced.empty());
  EXPECT_EQ(files.EntryNames(), Names{u"a"});
  EXPECT_TRUE(found[0].file->Remove());
  found.clear();
  EXPECT_EQ(state.EntryNames().size(), 2u);  // the held one and the unreadable one
  EXPECT_TRUE(TakeOverLeftJournals(*fs, state.Path16()).empty());
}

#ifndef _WIN32
TEST(LeftJournalsTest, WhatCannotBeAJournalIsSetAsideUnreadAndTheRestStays) {
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  test::TempFolder state;
  // A pipe nobody writes to: opening it to read would wait for ever, and the test would time out.
  ASSERT_EQ(mkfifo((state.Path() + "rename-1.journal").c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", (state.Path() + "rename-2.journal").c_str()), 0);
  const std::string huge = state.AddFile("rename-3.journal");
  ASSERT_EQ(truncate(huge.c_str(), static_cast<off_t>(kMaxSharedFileBytes) + 1), 0);  // sparse
  state.AddFile("rename-4.journal", R"({"format": "nomvarix-rename-journal", "version": 3})");
  state.AddFile("rename-5.journal.bad", "an older one, set aside before");

  const std::u16string message = SetAsideUnusableJournals(*fs, state.Path16());
  EXPECT_EQ(state.EntryNames(), (Names{u"rename-1.journal.bad", u"rename-2.journal.bad", u"rename-3.journal.bad",
                                       u"rename-4.journal", u"rename-5.journal.bad"}));
  for (const char16_t* name : {u"rename-1.journal", u"rename-2.journal", u"rename-3.journal"}) {
    EXPECT_NE(message.find(std::u16string(u"\n") + name), std::u16string::npos) << ToUtf8(message);
  }
  EXPECT_EQ(message.find(u"rename-4"), std::u16string::npos);
  EXPECT_EQ(SetAsideUnusableJournals(*fs, state.Path16()), u"");
}
#endif

}  // namespace
}  // namespace nomvarix

namespace nomvarix {
namespace {

struct Killed {};

// An apply of swaps, a rotation, a chain and a new spelling, cut off after each of its renames in
// turn: both answers leave every file under its old or its new name, never a temporary one.
TEST(InterruptedChainTest, EveryKillPointOfChainsAndCyclesSettlesToOldOrNewNames) {
  const std::vector<std::pair<std::u16string, std::u16string>> batch = {
      {u"a.txt", u"b.txt"},          {u"b.txt", u"a.txt"},                   // a swap
      {u"r1", u"r2"},                {u"r2", u"\u65E5\u8A18"},               // a rotation of three
      {u"\u65E5\u8A18", u"r1"},      {u"p1.jpg", u"p2.jpg"},                 // a chain
      {u"p2.jpg", u"p3.jpg"},        {u"p3.jpg", u"p4.jpg"},
      {u"Caf\u00E9.TXT", u"caf\u00E9.txt"}};                                 // a new spelling
  for (const bool caseInsensitive : {false, true}) {
    for (int killAfter = 0;; ++killAfter) {
      bool finished = false;
      for (const RecoveryChoice choice : {RecoveryChoice::Undo, RecoveryChoice::Keep}) {
        test::FakeFileSystem fs;
        fs.SetCaseInsensitive(caseInsensitive);
        NameList lines;
        Names files;
        for (const auto& [before, after] : batch) {
          lines.push_back({before, after, after, false});
          files.push_back(before);
        }
        fs.AddFolder(u"/f/", files);
        const RenamePlan plan = PlanRenames(lines, u"/f/", fs);
        int renames = 0;
        fs.beforeRename = [&](std::u16string_view, std::u16string_view) {
          if (renames++ == killAfter) throw Killed();
        };
        try {
          RenameFiles(lines, u"/f/", fs, false, NoProgress(), &plan);
          finished = true;
        } catch (const Killed&) {
        }
        fs.beforeRename = nullptr;
        const InterruptedRename rename(plan.journal, fs);
        const SettleReport report = rename.Settle(choice, fs);
        EXPECT_TRUE(report.unplaced.empty() && report.changed.empty()) << killAfter;
        for (std::size_t i = 0; i < batch.size(); ++i) {
          const bool atOld = fs.InodeOf(u"/f/" + batch[i].first) == i + 1;
          const bool atNew = fs.InodeOf(u"/f/" + batch[i].second) == i + 1;
          EXPECT_TRUE(choice == RecoveryChoice::Undo ? atOld : atOld || atNew)
              << ToUtf8(batch[i].first) << " after " << killAfter << " renames, case-insensitive " << caseInsensitive;
        }
        for (const std::u16string& name : fs.FileNames(u"/f/")) {
          EXPECT_FALSE(name.starts_with(u".nomvarix-")) << killAfter;
        }
        EXPECT_EQ(fs.FileNames(u"/f/").size(), batch.size());
      }
      if (finished) break;
    }
  }
}

}  // namespace
}  // namespace nomvarix
