#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/FolderFiles.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using test::TempFolder;

class PosixFolderFilesTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  TempFolder temp;
};

// The open folder answers every question as the path-taking calls answer it for the joined path,
// for every kind of entry and for names that are not ASCII or not even UTF-8.
TEST_F(PosixFolderFilesTest, AnswersAsThePathCallsDoForEveryKindOfEntry) {
  temp.AddFile("日記 é.txt");
  temp.AddFile("caf\xE9-\xFF.jpg");
  temp.AddFolder("sub");
  ASSERT_EQ(mkfifo((temp.Path() + "pipe").c_str(), 0600), 0);
  ASSERT_EQ(symlink((temp.Path() + "日記 é.txt").c_str(), (temp.Path() + "link").c_str()), 0);
  ASSERT_EQ(symlink((temp.Path() + "gone").c_str(), (temp.Path() + "dangling").c_str()), 0);
  ASSERT_EQ(symlink((temp.Path() + "sub").c_str(), (temp.Path() + "link-to-folder").c_str()), 0);
  const std::unique_ptr<FolderFiles> files = fs->OpenFolder(temp.Path16());

  const std::u16string names[] = {u"日記 é.txt", FromUtf8("caf\xE9-\xFF.jpg"), u"sub", u"pipe", u"link",
                                  u"dangling", u"link-to-folder", u"missing"};
  for (const std::u16string& name : names) {
    SCOPED_TRACE(ToUtf8(name));
    const std::u16string path = temp.Path16() + name;
    EXPECT_EQ(files->EntryExists(name), fs->EntryExists(path));
    EXPECT_EQ(files->IsListableFile(name), fs->IsListableFile(path));
    EXPECT_EQ(files->IdentityOfListableFile(name), fs->IdentityOfListableFile(path));
    EXPECT_EQ(files->IsSameFile(name, u"link"), fs->IsSameFile(path, temp.Path16() + u"link"));
    EXPECT_EQ(files->IsSameFile(name, name), fs->IsSameFile(path, path));
  }
  EXPECT_TRUE(files->IsListableFile(u"dangling"));
  EXPECT_FALSE(files->IsListableFile(u"pipe"));
  EXPECT_FALSE(files->EntryExists(u"missing"));
}

TEST_F(PosixFolderFilesTest, RenamesNeverReplaceAndStayInTheFolderOpened) {
  temp.AddFile("a.txt", "A");
  temp.AddFile("b.txt", "B");
  const std::unique_ptr<FolderFiles> files = fs->OpenFolder(temp.Path16());
  EXPECT_EQ(files->RenameNoReplace(u"a.txt", u"b.txt"), RenameResult::TargetExists);
  EXPECT_EQ(temp.ReadFile("a.txt"), "A");
  EXPECT_EQ(temp.ReadFile("b.txt"), "B");
  EXPECT_EQ(files->RenameNoReplace(u"gone", u"c.txt"), RenameResult::Failed);
  EXPECT_EQ(files->RenameNoReplace(u"a.txt", FromUtf8("caf\xE9 日記-\xFF.txt")), RenameResult::Renamed);
  EXPECT_EQ(temp.ReadFile("caf\xE9 日記-\xFF.txt"), "A");

  // The folder's path now names another folder: the renames still happen in the one opened.
  const std::string inner = temp.AddFolder("inner") + "/";
  const std::string moved = temp.Path() + "moved";
  temp.AddFile("inner/x.txt", "X");
  const std::unique_ptr<FolderFiles> innerFiles = fs->OpenFolder(FromUtf8(inner));
  ASSERT_EQ(std::rename(inner.c_str(), moved.c_str()), 0);
  temp.AddFolder("inner");
  temp.AddFile("inner/x.txt", "other");
  EXPECT_EQ(innerFiles->RenameNoReplace(u"x.txt", u"y.txt"), RenameResult::Renamed);
  EXPECT_EQ(temp.ReadFile("moved/y.txt"), "X");
  EXPECT_EQ(temp.ReadFile("inner/x.txt"), "other");
}

TEST_F(PosixFolderFilesTest, AFolderThatCannotBeOpenedIsReachedByItsPath) {
  // Opened before it exists: the calls join the path and find it once it is made.
  const std::unique_ptr<FolderFiles> files = fs->OpenFolder(temp.Path16() + u"later/");
  EXPECT_FALSE(files->EntryExists(u"a.txt"));
  temp.AddFile("later/a.txt", "A");
  EXPECT_TRUE(files->IsListableFile(u"a.txt"));
  EXPECT_EQ(files->RenameNoReplace(u"a.txt", u"b.txt"), RenameResult::Renamed);
  EXPECT_EQ(temp.ReadFile("later/b.txt"), "A");
}

}  // namespace
}  // namespace nomvarix
