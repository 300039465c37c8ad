// Renaming on real temporary folders through the platform's file system.
#include "apply/RenameBatch.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
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

NameEntry Line(std::u16string original, std::u16string renamed) {
  NameEntry entry;
  entry.originalName = std::move(original);
  entry.newName = std::move(renamed);
  return entry;
}

/// Passes everything to another file system; before each rename it can create the target, as
/// another program might between the check and the rename, and it can report a rename of a file
/// onto itself as done while doing nothing, as Wine does with a new spelling of a name.
class RacingFileSystem final : public FileSystem {
 public:
  explicit RacingFileSystem(FileSystem& real) : real_(real) {}
  bool createTargetBeforeRename = false;
  bool renamingOntoItselfDoesNothing = false;

  bool ForEachEntry(std::u16string_view f, const std::function<void(const DirEntry&)>& v) const override {
    return real_.ForEachEntry(f, v);
  }
  PathKind KindOf(std::u16string_view p) const override { return real_.KindOf(p); }
  bool EntryExists(std::u16string_view p) const override { return real_.EntryExists(p); }
  std::size_t NameLength(std::u16string_view n) const override { return real_.NameLength(n); }
  bool MayHaveSubfolder(std::u16string_view f) const override { return real_.MayHaveSubfolder(f); }
  std::vector<std::u16string> FolderRoots() const override { return real_.FolderRoots(); }
  bool IsSameFile(std::u16string_view a, std::u16string_view b) const override { return real_.IsSameFile(a, b); }
  std::optional<FileIdentity> IdentityOf(std::u16string_view p) const override { return real_.IdentityOf(p); }
  std::optional<FileStamp> StampOf(std::u16string_view p) const override { return real_.StampOf(p); }
  IdentityPermanence IdentityPermanenceOf(std::u16string_view f) const override { return real_.IdentityPermanenceOf(f); }
  bool IsListableFile(std::u16string_view p) const override { return real_.IsListableFile(p); }
  RenameResult RenameNoReplace(std::u16string_view from, std::u16string_view to) override {
    if (createTargetBeforeRename) std::ofstream(ToUtf8(to)) << "theirs";
    if (renamingOntoItselfDoesNothing && real_.IsSameFile(from, to)) return RenameResult::Renamed;
    return real_.RenameNoReplace(from, to);
  }
  std::optional<FileClock::time_point> CreationTime(std::u16string_view p) const override { return real_.CreationTime(p); }
  std::unique_ptr<ReadableFile> OpenRegularFile(std::u16string_view p) const override {
    return real_.OpenRegularFile(p);
  }
  std::optional<std::string> ReadWholeFile(std::u16string_view p, std::size_t n) const override {
    return real_.ReadWholeFile(p, n);
  }
  bool WriteWholeFile(std::u16string_view p, std::string_view b) override { return real_.WriteWholeFile(p, b); }
  bool CreateFolder(std::u16string_view p) override { return real_.CreateFolder(p); }
  std::u16string DocumentsFolder() const override { return real_.DocumentsFolder(); }
  std::u16string ProgramFolder() const override { return real_.ProgramFolder(); }
  std::u16string AbsolutePath(std::u16string_view p) const override { return real_.AbsolutePath(p); }

 private:
  FileSystem& real_;
};

class RenameBatchTest : public ::testing::Test {
 protected:
  void Create(std::initializer_list<const char*> names) {
    for (const char* name : names) folder.AddFile(name, name);  // each file holds its first name
  }
  RenameBatchResult Run(const NameList& lines, bool autoRename) {
    return RenameFiles(lines, folder.Path16(), *fs, autoRename);
  }
  /// Every file of the folder as "name=content", sorted.
  std::vector<std::string> Disk() const {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path())) {
      if (!entry.is_regular_file()) continue;
      const std::string relative = std::filesystem::relative(entry.path(), folder.Path()).string();
      files.push_back(relative + "=" + folder.ReadFile(relative));
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  test::TempFolder folder;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
};

TEST_F(RenameBatchTest, ASwapIsAppliedWholeThroughATemporaryNameAndItsRevertListUndoesIt) {
  Create({"a.jpg", "b.jpg"});
  const NameList swap{Line(u"a.jpg", u"b.jpg"), Line(u"b.jpg", u"a.jpg")};
  for (const bool autoRename : {false, true}) {
    const RenameBatchResult swapped = Run(swap, autoRename);
    EXPECT_EQ(swapped.SkippedCount(), 0u);
    EXPECT_EQ(Disk(), (std::vector<std::string>{"a.jpg=b.jpg", "b.jpg=a.jpg"}));
    // b goes first, while a waits under a temporary name.
    ASSERT_EQ(swapped.revertList.size(), 2u);
    EXPECT_EQ(swapped.revertList[0].originalName, u"a.jpg");
    EXPECT_EQ(swapped.revertList[0].newName, u"b.jpg");
    EXPECT_EQ(swapped.revertList[1].originalName, u"b.jpg");
    EXPECT_EQ(swapped.revertList[1].lineText, u"a.jpg");
    const RenameBatchResult back = Run(swapped.revertList, autoRename);
    EXPECT_EQ(back.SkippedCount(), 0u);
    EXPECT_EQ(Disk(), (std::vector<std::string>{"a.jpg=a.jpg", "b.jpg=b.jpg"}));
  }
}

TEST_F(RenameBatchTest, AChainFreedByEarlierLinesAndTheNumberBeforeTheLastExtension) {
  Create({"a", "b", "photo.tar.gz", "x.tar.gz", "unchanged"});
  const RenameBatchResult result = Run({Line(u"b", u"c"), Line(u"a", u"b"), Line(u"photo.tar.gz", u"x.tar.gz"),
                                        Line(u"unchanged", u"unchanged")},
                                       true);
  EXPECT_EQ(result.SkippedCount(), 0u);
  EXPECT_EQ(result.revertList.size(), 3u);
  EXPECT_EQ(Disk(), (std::vector<std::string>{"b=a", "c=b", "unchanged=unchanged", "x.tar.gz=x.tar.gz",
                                              "x.tar_00001.gz=photo.tar.gz"}));
}

TEST_F(RenameBatchTest, NamesThatWouldLeaveTheFolderOrHideTheFileAreSkipped) {
  folder.AddFolder("sub");
  Create({"a", "b", "c", "d", "e", "f"});
  const RenameBatchResult result =
      Run({Line(u"a", u"../x"), Line(u"b", u"sub/b"), Line(u"c", u".."), Line(u"d", u""), Line(u"e", u".e"),
           Line(u"f", std::u16string(u"f\0g", 3))},
          true);
  EXPECT_EQ(result.SkippedCount(), 6u);
  EXPECT_EQ(Disk(), (std::vector<std::string>{"a=a", "b=b", "c=c", "d=d", "e=e", "f=f"}));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Path()).parent_path().parent_path() / "x"));
}

TEST_F(RenameBatchTest, AFileCreatedAtTheTargetMeanwhileIsNeverOverwritten) {
  Create({"mine"});
  RacingFileSystem racing(*fs);
  racing.createTargetBeforeRename = true;
  const RenameBatchResult result = RenameFiles({Line(u"mine", u"target")}, folder.Path16(), racing, false);
  EXPECT_EQ(result.SkippedCount(), 1u);
  EXPECT_EQ(Disk(), (std::vector<std::string>{"mine=mine", "target=theirs"}));
}

#ifndef _WIN32
TEST_F(RenameBatchTest, AFileReplacedAfterItWasListedIsSkippedWithItsReason) {
  Create({"folder", "fifo", "link", "swapped", "relinked", "\xC3\xA9t\xC3\xA9"});
  const NameList lines{Line(u"folder", u"folder2"),   Line(u"fifo", u"fifo2"),
                       Line(u"link", u"link2"),       Line(u"swapped", u"swapped2"),
                       Line(u"relinked", u"relinked2"), Line(u"\u00E9t\u00E9", u"\u65E5\u8A18")};
  const RenamePlan plan = PlanRenames(lines, folder.Path16(), *fs);
  const std::string at = folder.Path();
  // After the list was made and the journal written, other programs replace five of the files.
  for (const char* name : {"folder", "fifo", "link", "relinked"}) ASSERT_EQ(unlink((at + name).c_str()), 0);
  ASSERT_EQ(mkdir((at + "folder").c_str(), 0777), 0);
  ASSERT_EQ(mkfifo((at + "fifo").c_str(), 0666), 0);
  ASSERT_EQ(symlink("folder", (at + "link").c_str()), 0);
  folder.AddFile("new", "new");  // created while the old file still exists: another identity
  ASSERT_EQ(rename((at + "new").c_str(), (at + "swapped").c_str()), 0);
  ASSERT_EQ(symlink("swapped", (at + "relinked").c_str()), 0);

  const RenameBatchResult result = RenameFiles(lines, folder.Path16(), *fs, false, NoProgress(), &plan);
  EXPECT_EQ(result.skipped, (std::vector<bool>{true, true, true, true, true, false}));
  EXPECT_EQ(result.report, u"1: folder is no longer a file (now a folder, a FIFO or a device)\n"
                           u"2: fifo is no longer a file (now a folder, a FIFO or a device)\n"
                           u"3: link is no longer a file (now a folder, a FIFO or a device)\n"
                           u"4: swapped is no longer the file listed\n"
                           u"5: relinked is no longer the file listed\n");
  ASSERT_EQ(result.revertList.size(), 1u);
  EXPECT_EQ(result.revertList[0].originalName, u"\u65E5\u8A18");
  for (const char* name : {"folder", "fifo", "link", "swapped", "relinked"}) {
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status(at + name))) << name << " stays";
  }
}

TEST_F(RenameBatchTest, ADanglingLinkAtTheTargetTakesItsName) {
  Create({"mine", "yours"});
  ASSERT_EQ(symlink("gone", (folder.Path() + "target").c_str()), 0);
  const RenameBatchResult result = Run({Line(u"mine", u"target"), Line(u"yours", u"target")}, true);
  EXPECT_EQ(result.SkippedCount(), 0u);
  ASSERT_EQ(result.revertList.size(), 2u);
  EXPECT_EQ(result.revertList[0].originalName, u"target_00001");
  EXPECT_EQ(result.revertList[1].originalName, u"target_00002");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Path() + "target"));
}
#endif

TEST(RenameBatchCaseTest, ANewSpellingIsNeverTakenForDoneWhenTheSystemQuietlyIgnoresIt) {
  test::FakeFileSystem fake;
  fake.SetCaseInsensitive(true);
  fake.AddFolder(u"/f/", {u"PHOTO.JPG", u"Été.txt"});
  RacingFileSystem fs(fake);
  fs.renamingOntoItselfDoesNothing = true;
  const RenameBatchResult result =
      RenameFiles({Line(u"PHOTO.JPG", u"photo.jpg"), Line(u"Été.txt", u"été.txt")}, u"/f/", fs, false);
  EXPECT_EQ(result.SkippedCount(), 0u);
  EXPECT_EQ(fake.FileNames(u"/f/"), (Names{u"photo.jpg", u"été.txt"}));
}

TEST(RenameBatchCaseTest, ANewSpellingOnACaseInsensitiveFileSystemGoesThroughATemporaryName) {
  test::FakeFileSystem fs;
  fs.SetCaseInsensitive(true);
  fs.AddFolder(u"/f/", {u"README.TXT", u"other.txt"});
  std::vector<std::pair<std::u16string, std::u16string>> renames;
  fs.beforeRename = [&](std::u16string_view from, std::u16string_view to) { renames.emplace_back(from, to); };
  const RenameBatchResult result =
      RenameFiles({Line(u"README.TXT", u"readme.txt"), Line(u"other.txt", u"README.txt")}, u"/f/", fs, false);
  EXPECT_EQ(fs.FileNames(u"/f/"), (Names{u"readme.txt", u"other.txt"}));
  EXPECT_EQ(result.skipped, (std::vector<bool>{false, true}));  // the other file's name is taken
  // A new spelling goes through a temporary name at once (a direct rename may do nothing and still
  // succeed); the other line is only tried.
  ASSERT_EQ(renames.size(), 3u);
  EXPECT_EQ(renames[0].first, u"/f/README.TXT");
  EXPECT_EQ(renames[1].first, renames[0].second);
  EXPECT_EQ(renames[1].second, u"/f/readme.txt");
  EXPECT_EQ(renames[2], (std::pair<std::u16string, std::u16string>{u"/f/other.txt", u"/f/README.txt"}));
}

}  // namespace
}  // namespace nomvarix

namespace nomvarix {
namespace {

// Another program takes a name of a chain between the check and the rename: that link fails as a
// conflict does, the rest of its chain keeps its edits and is reported, nothing is overwritten, and
// a file parked to open a cycle still ends under a name of its own.
TEST(ChainRaceTest, ALinkTakenMeanwhileStopsTheRestOfItsChain) {
  struct Case {
    const char* what;
    Names files;
    Names renamed;
    std::u16string takenFrom, takenTo;  // the rename before which the other program's file appears
    bool autoRename;
    Names disk;  // "name=first name of its file", sorted; "theirs" for the other program's
    std::u16string report;
  };
  const Case cases[] = {
      {"shift, skipped", {u"p1", u"p2", u"p3"}, {u"p2", u"p3", u"p4"}, u"p3", u"p4", false,
       {u"p1=p1", u"p2=p2", u"p3=p3", u"p4=theirs"},
       u"2: p2 was not renamed, since p3 was not freed\n1: p1 was not renamed, since p2 was not freed\n"},
      {"shift, numbered", {u"p1", u"p2", u"p3"}, {u"p2", u"p3", u"p4"}, u"p3", u"p4", true,
       {u"p1=p1", u"p2=p2", u"p4=theirs", u"p4_00001=p3"},
       u"2: p2 was not renamed, since p3 was not freed\n1: p1 was not renamed, since p2 was not freed\n"},
      {"rotation", {u"r1", u"r2", u"\u00E9"}, {u"r2", u"\u00E9", u"r1"}, u"r2", u"\u00E9", false,
       {u"r1=\u00E9", u"r2=r2", u"r2_00001=r1", u"\u00E9=theirs"},
       u"1: r1 is now r2_00001: its old and its new name were taken meanwhile\n"},
  };
  for (const Case& c : cases) {
    test::FakeFileSystem fs;
    fs.AddFolder(u"/f/", c.files);
    NameList lines;
    for (std::size_t i = 0; i < c.files.size(); ++i) lines.push_back(Line(c.files[i], c.renamed[i]));
    fs.beforeRename = [&](std::u16string_view from, std::u16string_view to) {
      if (from == u"/f/" + c.takenFrom && to == u"/f/" + c.takenTo) fs.AddFile(u"/f/" + c.takenTo, {}, 1000);
    };
    const RenameBatchResult result = RenameFiles(lines, u"/f/", fs, c.autoRename);
    fs.beforeRename = nullptr;
    Names disk;
    for (const std::u16string& name : fs.FileNames(u"/f/")) {
      const std::uint64_t inode = fs.InodeOf(u"/f/" + name);
      disk.push_back(name + u"=" + (inode == 1000 ? std::u16string(u"theirs") : c.files[inode - 1]));
    }
    std::sort(disk.begin(), disk.end());
    EXPECT_EQ(disk, c.disk) << c.what;
    EXPECT_EQ(result.report, c.report) << c.what;
  }
}

}  // namespace
}  // namespace nomvarix
