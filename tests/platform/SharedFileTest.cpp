#include "platform/SharedFile.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/LockedFile.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "support/WaitingFifo.h"
#endif

namespace nomvarix {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> AppendLine(std::string_view current) { return std::string(current) + "line\n"; }

TEST(SharedFileTest, UpdatesLeaveNoFileBesideTheOneWritten) {
  test::TempFolder temp;
  const std::u16string path = temp.Path16() + u"state/Nomvarix.conf";
  ASSERT_TRUE(UpdateSharedFile(path, AppendLine));
  ASSERT_TRUE(UpdateSharedFile(path, AppendLine));
  EXPECT_EQ(ReadSharedFile(path), "line\nline\n");
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(temp.Path()) / "state")) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"Nomvarix.conf"});
}

TEST(SharedFileTest, AFileLargerThanTheBoundIsNeitherReadNorRewritten) {
  test::TempFolder temp;
  const std::string big = temp.AddFile("big.conf", std::string(4096, 'x'));
  const std::u16string path = FromUtf8(big);
  EXPECT_EQ(ReadSharedFileChecked(path, 4095).state, SharedFileState::kTooLarge);
  EXPECT_EQ(ReadSharedFile(path, 4095), std::nullopt);
  EXPECT_FALSE(UpdateSharedFile(path, AppendLine, 4095));
  EXPECT_EQ(ReadSharedFileChecked(path, 4096).bytes.size(), 4096u);
  EXPECT_FALSE(TakeOverLockedFile(path, 4095));
  EXPECT_TRUE(TakeOverLockedFile(path, 4096));
}

#ifndef _WIN32
/// Every program state file may be replaced by something that is not a file: none of them is waited
/// on, read without end, or replaced by a regular file.
TEST(SharedFileTest, WhatIsNoRegularFileIsNeverWaitedOnReadOrReplaced) {
  test::TempFolder temp;
  const std::string fifo = temp.Path() + "fifo.conf";
  test::WaitingFifo waiting(fifo);
  ASSERT_TRUE(waiting.Created());
  const std::string zero = temp.Path() + "zero.conf";
  ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
  const std::string folder = temp.AddFolder("folder.conf");
  for (const std::string& path : {fifo, zero, folder}) {
    SCOPED_TRACE(path);
    const std::u16string path16 = FromUtf8(path);
    EXPECT_EQ(ReadSharedFileChecked(path16, kMaxSharedFileBytes).state, SharedFileState::kNotAFile);
    EXPECT_EQ(ReadSharedFile(path16), std::nullopt);
    EXPECT_FALSE(UpdateSharedFile(path16, AppendLine));
    EXPECT_FALSE(TakeOverLockedFile(path16));
  }
  EXPECT_FALSE(waiting.ReaderCameBy());
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(lstat(zero.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(ReadSharedFileChecked(FromUtf8(temp.Path() + "missing.conf"), 10).state, SharedFileState::kMissing);
}

TEST(SharedFileTest, ALinkStaysALinkAndAReadOnlyFileIsLeftAsItIs) {
  test::TempFolder temp;
  const std::string target = temp.AddFile("dotfiles/Nomvarix.conf", "old\n");
  const std::string link = temp.AddFolder("config") + "Nomvarix.conf";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  ASSERT_TRUE(UpdateSharedFile(FromUtf8(link), AppendLine));
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(temp.ReadFile("dotfiles/Nomvarix.conf"), "old\nline\n");
  EXPECT_FALSE(fs::exists(fs::path(temp.Path()) / "config" / "Nomvarix.conf.new"));

  ASSERT_EQ(chmod(target.c_str(), 0444), 0);
  const SharedFileContent content = ReadSharedFileChecked(FromUtf8(link), kMaxSharedFileBytes);
  EXPECT_EQ(content.state, SharedFileState::kRead);
  EXPECT_TRUE(content.readOnly);
  EXPECT_FALSE(UpdateSharedFile(FromUtf8(link), AppendLine));
  EXPECT_FALSE(UpdateSharedFile(FromUtf8(target), AppendLine));
  EXPECT_EQ(temp.ReadFile("dotfiles/Nomvarix.conf"), "old\nline\n");

  ASSERT_TRUE(SetSharedFileAside(FromUtf8(link), FromUtf8(target + ".bad")));
  EXPECT_EQ(temp.ReadFile("dotfiles/Nomvarix.conf.bad"), "old\nline\n");
  // Dangling now: it reads as a file not made yet, and a write makes the file it names.
  EXPECT_EQ(ReadSharedFileChecked(FromUtf8(link), kMaxSharedFileBytes).state, SharedFileState::kMissing);
  ASSERT_TRUE(UpdateSharedFile(FromUtf8(link), AppendLine));
  EXPECT_EQ(temp.ReadFile("dotfiles/Nomvarix.conf"), "line\n");
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}
#endif

}  // namespace
}  // namespace nomvarix
