#include "apply/InterruptedRename.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/LockedFile.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

/// A folder /f/ and a journal planning the renames given, of which the test then carries out some.
class InterruptedRenameTest : public ::testing::Test {
 protected:
  void Plan(const Names& files, const std::vector<std::pair<std::u16string, std::u16string>>& renames) {
    fs.AddFolder(u"/f/", files);
    journal.folder = u"/f/";
    for (const auto& [before, after] : renames) journal.steps.push_back({*fs.IdentityOf(u"/f/" + before), before, after, u""});
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
  EXPECT_FALSE(rename.FolderGone());
  EXPECT_EQ(rename.Done(), 2u);
  EXPECT_EQ(rename.Planned(), 3u);
  EXPECT_EQ(rename.Question(), u"An earlier rename in /f/ was interrupted after 2 of 3 files.");
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).empty());
  EXPECT_EQ(Disk(), (Names{u"a", u"b", u"c", u"other"}));
}

TEST_F(InterruptedRenameTest, AFileWhoseOldNameWasTakenStaysAndIsReported) {
  Plan({u"a", u"b"}, {{u"a", u"x"}, {u"b", u"y"}});
  Move(u"a", u"x");
  Move(u"b", u"y");
  fs.AddEntry(u"/f/", {u"a"});  // another program's new file
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 2u);
  const Names unplaced = rename.Settle(RecoveryChoice::Undo, fs);
  EXPECT_EQ(unplaced, Names{u"x"});
  EXPECT_EQ(Disk(), (Names{u"a", u"b", u"x"}));
  EXPECT_EQ(UnplacedFilesMessage(RecoveryChoice::Undo, unplaced),
            u"These files keep their new names, because other files have their old names now:\nx");
  EXPECT_EQ(UnplacedFilesMessage(RecoveryChoice::Undo, {}), u"");
}

TEST_F(InterruptedRenameTest, KeepLeavesRenamedFilesAndMovesNone) {
  Plan({u"a", u"b", u"c"}, {{u"a", u"x"}, {u"b", u"y"}, {u"c", u"z"}});
  Move(u"a", u"x_00001");  // auto-renamed: still done, found by identity
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 1u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Keep, fs).empty());
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
  EXPECT_TRUE(stranded({}).Settle(RecoveryChoice::Undo, fs).empty());
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt"}));
  EXPECT_TRUE(stranded({}).Settle(RecoveryChoice::Keep, fs).empty());
  EXPECT_EQ(Disk(), (Names{u"Two.txt", u"one.txt"}));
  // The new name taken: keeping takes the old one back; the old one taken: undoing takes the new.
  EXPECT_TRUE(stranded({u"one.txt"}).Settle(RecoveryChoice::Keep, fs).empty());
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt", u"one.txt"}));
  EXPECT_EQ(stranded({u"One.txt"}).Settle(RecoveryChoice::Undo, fs), Names{u"one.txt"});
  EXPECT_EQ(Disk(), (Names{u"One.txt", u"Two.txt", u"one.txt"}));
  // Both taken: it stays, and is reported.
  EXPECT_EQ(stranded({u"One.txt", u"one.txt"}).Settle(RecoveryChoice::Keep, fs), Names{u".nomvarix-1.tmp"});
  EXPECT_EQ(UnplacedFilesMessage(RecoveryChoice::Keep, {u".nomvarix-1.tmp"}),
            u"These files could not leave their temporary names:\n.nomvarix-1.tmp");
}

TEST_F(InterruptedRenameTest, UndoingANewSpellingOnACaseInsensitiveSystemGoesThroughItsTemporaryName) {
  fs.SetCaseInsensitive(true);
  Plan({u"Photo.JPG", u"b"}, {{u"Photo.JPG", u"photo.jpg"}, {u"b", u"c"}});
  journal.steps[0].temporary = u".nomvarix-1.tmp";
  Move(u"Photo.JPG", u".nomvarix-1.tmp");
  Move(u".nomvarix-1.tmp", u"photo.jpg");
  const InterruptedRename rename(journal, fs);
  EXPECT_EQ(rename.Done(), 1u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).empty());
  EXPECT_EQ(Disk(), (Names{u"Photo.JPG", u"b"}));
}

TEST_F(InterruptedRenameTest, AJournalOfAFolderThatIsGoneChangesNothing) {
  Plan({u"a"}, {{u"a", u"x"}});
  Move(u"a", u"x");
  fs.RemoveFolder(u"/f/");
  const InterruptedRename rename(journal, fs);
  EXPECT_TRUE(rename.FolderGone());
  EXPECT_EQ(rename.Done(), 0u);
  EXPECT_TRUE(rename.Settle(RecoveryChoice::Undo, fs).empty());
  EXPECT_EQ(FolderGoneMessage(u"/f/"), u"An interrupted rename in /f/ was dropped: the folder no longer exists.");
}

TEST_F(InterruptedRenameTest, ManyUnplacedFilesAreListedInPart) {
  Names names;
  for (char16_t c = u'a'; c < u'a' + 25; ++c) names.push_back(std::u16string{u'f', c});
  const std::u16string text = UnplacedFilesMessage(RecoveryChoice::Undo, names);
  EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), 21);
  EXPECT_TRUE(text.ends_with(u"\nft\n(and 5 more)"));
}

TEST(LeftJournalsTest, OnlyJournalsNoRunningProgramHoldsAreTakenOverAndUnreadableOnesStay) {
  test::TempFolder files;
  test::TempFolder state;
  files.AddFile("a");
  const std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const RenameJournal left{files.Path16(), {{*fs->IdentityOf(files.Path16() + u"a"), u"a", u"b", u""}}};
  ASSERT_TRUE(WriteJournal(left, state.Path16()));  // released at once, as by a program that ended
  const std::unique_ptr<LockedFile> held = WriteJournal(left, state.Path16());
  state.AddFile("rename-later-version.journal", R"({"format": "nomvarix-rename-journal", "version": 2})");
  ASSERT_EQ(fs->RenameNoReplace(files.Path16() + u"a", files.Path16() + u"b"), RenameResult::Renamed);

  std::vector<LeftJournal> found = TakeOverLeftJournals(*fs, state.Path16());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].rename.Done(), 1u);
  EXPECT_TRUE(found[0].rename.Settle(RecoveryChoice::Undo, *fs).empty());
  EXPECT_EQ(files.EntryNames(), Names{u"a"});
  EXPECT_TRUE(found[0].file->Remove());
  found.clear();
  EXPECT_EQ(state.EntryNames().size(), 2u);  // the held one and the unreadable one
  EXPECT_TRUE(TakeOverLeftJournals(*fs, state.Path16()).empty());
}

}  // namespace
}  // namespace nomvarix
