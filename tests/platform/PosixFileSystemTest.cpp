#include <unistd.h>

#include <cstdlib>
#include <map>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/StateFolder.h"
#include "support/TempFolder.h"
#include "support/WaitingFifo.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using test::TempFolder;

struct Flags {
  bool isFolder, isHidden;
  bool operator==(const Flags&) const = default;
};

std::map<std::u16string, Flags> List(const FileSystem& fs, std::u16string_view folder) {
  std::map<std::u16string, Flags> entries;
  EXPECT_TRUE(fs.ForEachEntry(folder, [&](const DirEntry& e) {
    entries[std::u16string(e.name)] = {e.isFolder, e.isHidden};
  }));
  return entries;
}

/// The first `count` bytes of a regular file, or all of it when it is shorter.
std::optional<std::string> Head(const FileSystem& fs, std::u16string_view path, std::size_t count) {
  const std::unique_ptr<ReadableFile> file = fs.OpenRegularFile(path);
  if (!file) return std::nullopt;
  return file->ReadAt(0, count);
}

class PosixFileSystemTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  TempFolder temp;
};

TEST_F(PosixFileSystemTest, ListsEntriesWithFolderAndHiddenFlags) {
  temp.AddFile("photo.jpg");
  temp.AddFile(".hidden");
  temp.AddFolder("sub");
  ASSERT_EQ(symlink((temp.Path() + "sub").c_str(), (temp.Path() + "link-to-folder").c_str()), 0);
  ASSERT_EQ(symlink((temp.Path() + "gone").c_str(), (temp.Path() + "dangling").c_str()), 0);

  const auto entries = List(*fs, temp.Path16());
  EXPECT_EQ(entries.at(u"photo.jpg"), (Flags{false, false}));
  EXPECT_EQ(entries.at(u".hidden"), (Flags{false, true}));
  EXPECT_EQ(entries.at(u"sub"), (Flags{true, false}));
  EXPECT_EQ(entries.at(u"link-to-folder"), (Flags{true, false}));  // a link counts as its target
  EXPECT_EQ(entries.at(u"dangling"), (Flags{false, false}));
  EXPECT_FALSE(fs->ForEachEntry(temp.Path16() + u"missing/", [](const DirEntry&) {}));
}

// A folder of many files is not read to its end to decide whether it may hold folders.
TEST_F(PosixFileSystemTest, MayHaveSubfolderAnswersFromTheFirstEntriesOfALargeFolder) {
  temp.AddFolder("few");
  temp.AddFile("few/a.txt");
  temp.AddFolder("with-link");
  temp.AddFolder("target");
  ASSERT_EQ(symlink((temp.Path() + "target").c_str(), (temp.Path() + "with-link/link").c_str()), 0);
  for (std::size_t i = 0; i <= FileSystem::kSubfolderLookLimit; ++i) temp.AddFile("many/" + std::to_string(i));
  EXPECT_FALSE(fs->MayHaveSubfolder(temp.Path16() + u"few/"));
  EXPECT_TRUE(fs->MayHaveSubfolder(temp.Path16() + u"with-link/"));
  EXPECT_TRUE(fs->MayHaveSubfolder(temp.Path16() + u"many/"));
  EXPECT_FALSE(fs->MayHaveSubfolder(temp.Path16() + u"missing/"));
  // The tree does not list hidden folders: one holding only those gets no button.
  temp.AddFolder("only-hidden/.git");
  temp.AddFile("only-hidden/.profile");
  EXPECT_FALSE(fs->MayHaveSubfolder(temp.Path16() + u"only-hidden/"));
}

TEST_F(PosixFileSystemTest, AnUndecodableNameIsListedAndNamesTheSameFileAgain) {
  const std::string bytes = "caf\xE9-\xFF.txt";
  temp.AddFile(bytes, "content");
  const auto entries = List(*fs, temp.Path16());
  std::u16string listed;
  for (const auto& [name, flags] : entries) {
    if (name.starts_with(u"caf")) listed = name;
  }
  ASSERT_FALSE(listed.empty());
  EXPECT_EQ(ToUtf8(listed), bytes);
  const std::u16string path = temp.Path16() + listed;
  EXPECT_EQ(fs->KindOf(path), PathKind::File);
  EXPECT_EQ(Head(*fs, path, 100), "content");
  EXPECT_EQ(fs->RenameNoReplace(path, temp.Path16() + u"renamed.txt"), RenameResult::Renamed);
  EXPECT_EQ(temp.ReadFile("renamed.txt"), "content");
}

TEST_F(PosixFileSystemTest, KindOfTellsFilesFoldersAndMissingPaths) {
  temp.AddFile("a.txt");
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"a.txt"), PathKind::File);
  EXPECT_EQ(fs->KindOf(temp.Path16()), PathKind::Folder);
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"nothing"), PathKind::Missing);
}

TEST_F(PosixFileSystemTest, ADanglingLinkTakesItsNameButNamesNothing) {
  ASSERT_EQ(symlink((temp.Path() + "gone").c_str(), (temp.Path() + "dangling").c_str()), 0);
  temp.AddFile("a.txt");
  EXPECT_TRUE(fs->EntryExists(temp.Path16() + u"dangling"));
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"dangling"), PathKind::Missing);
  EXPECT_TRUE(fs->EntryExists(temp.Path16() + u"a.txt"));
  EXPECT_TRUE(fs->EntryExists(temp.Path16()));
  EXPECT_FALSE(fs->EntryExists(temp.Path16() + u"gone"));
}

TEST_F(PosixFileSystemTest, AnIdentityFollowsItsFileThroughRenamesAndNeverALink) {
  temp.AddFile("a");
  temp.AddFile("b");
  ASSERT_EQ(symlink((temp.Path() + "a").c_str(), (temp.Path() + "link").c_str()), 0);
  const std::optional<FileIdentity> a = fs->IdentityOf(temp.Path16() + u"a");
  ASSERT_TRUE(a);
  EXPECT_NE(a, fs->IdentityOf(temp.Path16() + u"b"));
  EXPECT_NE(a, fs->IdentityOf(temp.Path16() + u"link"));  // the link's own, as a rename moves the link
  ASSERT_EQ(fs->RenameNoReplace(temp.Path16() + u"a", temp.Path16() + u"a\nnew"), RenameResult::Renamed);
  EXPECT_EQ(fs->IdentityOf(temp.Path16() + u"a\nnew"), a);
  EXPECT_FALSE(fs->IdentityOf(temp.Path16() + u"a"));
}

TEST_F(PosixFileSystemTest, AStampIsTheIdentityWithSizeAndTimesWhichARenameKeeps) {
  temp.AddFile("Dächer.jpg", "12345");
  const std::u16string before = temp.Path16() + u"D\u00E4cher.jpg";
  const std::optional<FileStamp> stamp = fs->StampOf(before);
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->identity, fs->IdentityOf(before));
  EXPECT_EQ(stamp->attributes.size, 5u);
  EXPECT_TRUE(stamp->attributes.modified);
  ASSERT_EQ(fs->RenameNoReplace(before, temp.Path16() + u"\u65E5\u8A18.jpg"), RenameResult::Renamed);
  EXPECT_EQ(fs->StampOf(temp.Path16() + u"\u65E5\u8A18.jpg"), stamp);
  EXPECT_FALSE(fs->StampOf(before));
  // A temporary folder lies on a file system that numbers its files for good.
  EXPECT_EQ(fs->IdentityPermanenceOf(temp.Path16()), IdentityPermanence::Lasting);
}

TEST_F(PosixFileSystemTest, NamesAreMeasuredInTheBytesWrittenUpTo255) {
  EXPECT_EQ(fs->NameLength(u"a\u00E9\u540D\U0001F4F7"), 1u + 2u + 3u + 4u);
  EXPECT_EQ(fs->NameLength(std::u16string(3, kEscapedByteLast)), 3u);

  temp.AddFile("a");
  temp.AddFile("b");
  const std::u16string fits = std::u16string(127, u'\u00E9') + u"x";
  const std::u16string tooLong = std::u16string(128, u'\u00E9');
  ASSERT_EQ(fs->NameLength(fits), 255u);
  ASSERT_EQ(fs->NameLength(tooLong), 256u);
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"a", temp.Path16() + fits), RenameResult::Renamed);
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"b", temp.Path16() + tooLong), RenameResult::Failed);
}

TEST_F(PosixFileSystemTest, RenameNeverReplacesAnExistingFile) {
  temp.AddFile("a.txt", "A");
  temp.AddFile("b.txt", "B");
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"a.txt", temp.Path16() + u"b.txt"), RenameResult::TargetExists);
  EXPECT_EQ(temp.ReadFile("a.txt"), "A");
  EXPECT_EQ(temp.ReadFile("b.txt"), "B");
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"a.txt", temp.Path16() + u"c.txt"), RenameResult::Renamed);
  EXPECT_EQ(temp.ReadFile("c.txt"), "A");
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"a.txt"), PathKind::Missing);
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"gone", temp.Path16() + u"d.txt"), RenameResult::Failed);
}

TEST_F(PosixFileSystemTest, ReadsHeadersWholeFilesAndSizes) {
  temp.AddFile("data.bin", std::string("\x89PNG\0\x01", 6));
  const std::u16string path = temp.Path16() + u"data.bin";
  EXPECT_EQ(Head(*fs, path, 4), "\x89PNG");
  EXPECT_EQ(Head(*fs, path, 100)->size(), 6u);  // a short file gives what it has
  EXPECT_EQ(fs->ReadWholeFile(path, 6)->size(), 6u);
  EXPECT_FALSE(fs->ReadWholeFile(path, 5).has_value());  // larger than allowed
  EXPECT_EQ(fs->OpenRegularFile(path)->Size(), 6u);
  EXPECT_EQ(fs->OpenRegularFile(path)->ReadAt(4, 100), std::string("\0\x01", 2));
  EXPECT_EQ(fs->OpenRegularFile(path)->ReadAt(7, 100), "");
  EXPECT_FALSE(Head(*fs, temp.Path16() + u"missing", 4).has_value());
  EXPECT_EQ(fs->OpenRegularFile(temp.Path16()), nullptr);
}

TEST_F(PosixFileSystemTest, OnlyRegularFilesAreReadAndNothingWaits) {
  test::WaitingFifo fifo(temp.Path() + "pipe.png");
  ASSERT_TRUE(fifo.Created());
  temp.AddFolder("folder.png");
  ASSERT_EQ(symlink("/dev/zero", (temp.Path() + "device.km").c_str()), 0);
  ASSERT_EQ(symlink((temp.Path() + "gone").c_str(), (temp.Path() + "dangling.txt").c_str()), 0);
  for (const std::u16string_view name : {u"pipe.png", u"folder.png", u"device.km", u"dangling.txt"}) {
    SCOPED_TRACE(ToUtf8(name));
    const std::u16string path = temp.Path16() + std::u16string(name);
    EXPECT_EQ(fs->OpenRegularFile(path), nullptr);
    EXPECT_FALSE(fs->ReadWholeFile(path, 100).has_value());
  }
  EXPECT_FALSE(fifo.ReaderCameBy());

  temp.AddFile("real.txt", "text");
  ASSERT_EQ(symlink((temp.Path() + "real.txt").c_str(), (temp.Path() + "link.txt").c_str()), 0);
  EXPECT_EQ(fs->ReadWholeFile(temp.Path16() + u"link.txt", 100), "text");  // a link reads as its file
}

TEST_F(PosixFileSystemTest, AWholeFileTakesMemoryForWhatItHoldsNotForTheLimit) {
  temp.AddFile("small.txt", std::string(2048, 'x'));
  const std::optional<std::string> data = fs->ReadWholeFile(temp.Path16() + u"small.txt", 100 << 20);
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(data->size(), 2048u);
  EXPECT_LT(data->capacity(), 64u << 10);
}

TEST_F(PosixFileSystemTest, CreationTimeIsRecentWhereTheFileSystemKeepsIt) {
  temp.AddFile("new.txt");
  const auto created = fs->CreationTime(temp.Path16() + u"new.txt");
  if (!created) GTEST_SKIP() << "this file system keeps no birth time";
  EXPECT_LT(std::chrono::abs(FileClock::now() - *created), std::chrono::minutes(5));
  EXPECT_FALSE(fs->CreationTime(temp.Path16() + u"missing").has_value());
}

TEST_F(PosixFileSystemTest, AbsolutePathsAndWellKnownFolders) {
  char* oldCwd = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(temp.Path().c_str()), 0);
  const std::u16string cwd = fs->AbsolutePath(u".");
  EXPECT_EQ(fs->AbsolutePath(u"./sub//x.txt"), cwd + u"sub/x.txt");
  EXPECT_EQ(fs->AbsolutePath(u"sub/"), cwd + u"sub/");
  EXPECT_EQ(fs->AbsolutePath(u"/a/./b"), u"/a/b");
  EXPECT_EQ(fs->AbsolutePath(u"/"), u"/");
  EXPECT_EQ(fs->AbsolutePath(u"/a/docs/../photos"), u"/a/photos");
  EXPECT_EQ(fs->AbsolutePath(u"/a/b/.."), u"/a/");
  EXPECT_EQ(fs->AbsolutePath(u"/../a/../.."), u"/");  // nothing is above the root
  EXPECT_EQ(fs->AbsolutePath(u"sub/../.."), FolderOfPath(cwd.substr(0, cwd.size() - 1)));
  EXPECT_TRUE(cwd.ends_with(u"/"));
  ASSERT_EQ(chdir(oldCwd), 0);
  std::free(oldCwd);

  EXPECT_TRUE(fs->ProgramFolder().ends_with(u"/"));
  EXPECT_EQ(fs->KindOf(fs->ProgramFolder()), PathKind::Folder);

  temp.AddFile("config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  setenv("XDG_CONFIG_HOME", (temp.Path() + "config").c_str(), 1);
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(fs->DocumentsFolder(), u"/home/someone/Papers/");
  unsetenv("XDG_CONFIG_HOME");
  setenv("XDG_CONFIG_HOME", (temp.Path() + "nothing-here").c_str(), 1);
  EXPECT_EQ(fs->DocumentsFolder(), u"/home/someone/Documents/");
  unsetenv("XDG_CONFIG_HOME");

  const char* oldState = std::getenv("XDG_STATE_HOME");
  const std::string savedState = oldState ? oldState : "";
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(StateFolder(), u"/home/someone/.local/state/Nomvarix/");
  setenv("XDG_STATE_HOME", "relative/state", 1);
  EXPECT_EQ(StateFolder(), u"/home/someone/.local/state/Nomvarix/");
  setenv("XDG_STATE_HOME", "/var/st\xc3\xa9", 1);
  EXPECT_EQ(StateFolder(), u"/var/st\u00e9/Nomvarix/");
  if (oldState) setenv("XDG_STATE_HOME", savedState.c_str(), 1); else unsetenv("XDG_STATE_HOME");

  const char* oldData = std::getenv("XDG_DATA_HOME");
  const std::string savedData = oldData ? oldData : "";
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(fs->DataHomeFolder(), u"/home/someone/.local/share/");
  setenv("XDG_DATA_HOME", "/d\xc3\xa9p\xc3\xb4t/", 1);
  EXPECT_EQ(fs->DataHomeFolder(), u"/d\u00e9p\u00f4t/");
  if (oldData) setenv("XDG_DATA_HOME", savedData.c_str(), 1); else unsetenv("XDG_DATA_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace nomvarix
