#include <windows.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

void CreateFileNamed(const std::u16string& path, std::string_view content = "") {
  std::ofstream(std::filesystem::path(Wide(path)), std::ios::binary) << content;
}

class WinFileSystemTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  test::TempFolder temp;
};

TEST_F(WinFileSystemTest, ListsUnicodeNamesExactly) {
  const std::u16string name = u"Caf\u00E9 \u540D\u524D \U0001F4F7.txt";
  CreateFileNamed(temp.Path16() + name, "x");
  std::set<std::u16string> names;
  ASSERT_TRUE(fs->ForEachEntry(temp.Path16(), [&](const DirEntry& e) { names.insert(std::u16string(e.name)); }));
  EXPECT_TRUE(names.contains(name));
  EXPECT_TRUE(names.contains(u"."));
  EXPECT_EQ(fs->KindOf(temp.Path16() + name), PathKind::File);
  EXPECT_EQ(fs->ReadWholeFile(temp.Path16() + name, 10), "x");
}

TEST_F(WinFileSystemTest, HiddenIsTheAttributeNotALeadingDot) {
  CreateFileNamed(temp.Path16() + u"secret.txt");
  CreateFileNamed(temp.Path16() + u".gitignore");
  ASSERT_TRUE(SetFileAttributesW(Wide(temp.Path16() + u"secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
  std::map<std::u16string, bool> hidden;
  fs->ForEachEntry(temp.Path16(), [&](const DirEntry& e) { hidden[std::u16string(e.name)] = e.isHidden; });
  EXPECT_TRUE(hidden.at(u"secret.txt"));
  EXPECT_FALSE(hidden.at(u".gitignore"));
}

TEST_F(WinFileSystemTest, NamesAreMeasuredInCodeUnitsAndExistenceAsked) {
  EXPECT_EQ(fs->NameLength(std::u16string(255, u'\u00E9')), 255u);
  EXPECT_EQ(fs->NameLength(u"\U0001F4F7"), 2u);
  CreateFileNamed(temp.Path16() + u"a.txt");
  EXPECT_TRUE(fs->EntryExists(temp.Path16() + u"a.txt"));
  EXPECT_TRUE(fs->EntryExists(temp.Path16()));
  EXPECT_FALSE(fs->EntryExists(temp.Path16() + u"gone"));
}

TEST_F(WinFileSystemTest, RenameNeverReplacesAnExistingFile) {
  CreateFileNamed(temp.Path16() + u"a.txt", "A");
  CreateFileNamed(temp.Path16() + u"b.txt", "B");
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"a.txt", temp.Path16() + u"b.txt"), RenameResult::TargetExists);
  EXPECT_EQ(temp.ReadFile("a.txt"), "A");
  EXPECT_EQ(temp.ReadFile("b.txt"), "B");
  EXPECT_EQ(fs->RenameNoReplace(temp.Path16() + u"a.txt", temp.Path16() + u"\u00E9.txt"), RenameResult::Renamed);
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"\u00E9.txt"), PathKind::File);
  EXPECT_EQ(fs->KindOf(temp.Path16() + u"a.txt"), PathKind::Missing);
}

TEST_F(WinFileSystemTest, AnIdentityFollowsItsFileThroughRenames) {
  CreateFileNamed(temp.Path16() + u"a.txt");
  CreateFileNamed(temp.Path16() + u"b.txt");
  const std::optional<FileIdentity> a = fs->IdentityOf(temp.Path16() + u"a.txt");
  ASSERT_TRUE(a);
  EXPECT_NE(a, fs->IdentityOf(temp.Path16() + u"b.txt"));
  ASSERT_EQ(fs->RenameNoReplace(temp.Path16() + u"a.txt", temp.Path16() + u"\u00E9.txt"), RenameResult::Renamed);
  EXPECT_EQ(fs->IdentityOf(temp.Path16() + u"\u00E9.txt"), a);
  EXPECT_FALSE(fs->IdentityOf(temp.Path16() + u"a.txt"));
}

TEST_F(WinFileSystemTest, ACaseOnlyRenameNeverLosesTheFile) {
  // On a case-insensitive file system the target "exists" (it is the file itself); some systems
  // rename, some report the target, Wine quietly does nothing. The file always stays.
  CreateFileNamed(temp.Path16() + u"photo.JPG", "data");
  const RenameResult result = fs->RenameNoReplace(temp.Path16() + u"photo.JPG", temp.Path16() + u"photo.jpg");
  EXPECT_NE(result, RenameResult::Failed);
  std::vector<std::u16string> names;
  fs->ForEachEntry(temp.Path16(), [&](const DirEntry& e) {
    if (!e.isFolder) names.push_back(std::u16string(e.name));
  });
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(names[0] == u"photo.JPG" || names[0] == u"photo.jpg");
  EXPECT_EQ(fs->ReadWholeFile(temp.Path16() + names[0], 10), "data");
}

TEST_F(WinFileSystemTest, TimesSizesAndWellKnownFolders) {
  CreateFileNamed(temp.Path16() + u"data.bin", "12345");
  const std::u16string path = temp.Path16() + u"data.bin";
  EXPECT_EQ(fs->OpenRegularFile(path)->Size(), 5u);
  EXPECT_EQ(fs->OpenRegularFile(path)->ReadAt(3, 10), "45");
  EXPECT_EQ(fs->OpenRegularFile(temp.Path16()), nullptr);  // a folder
  EXPECT_EQ(fs->OpenRegularFile(u"NUL"), nullptr);  // a device
  EXPECT_FALSE(fs->ReadWholeFile(path, 4).has_value());
  EXPECT_EQ(fs->ReadWholeFile(path, 5), "12345");
  const auto created = fs->CreationTime(path);
  ASSERT_TRUE(created.has_value());
  EXPECT_LT(std::chrono::abs(FileClock::now() - *created), std::chrono::minutes(5));
  EXPECT_TRUE(fs->DocumentsFolder().ends_with(u"\\"));
  EXPECT_EQ(fs->KindOf(fs->ProgramFolder()), PathKind::Folder);
  EXPECT_EQ(fs->AbsolutePath(u"C:/a/./b"), u"C:\\a\\b");
}

}  // namespace
}  // namespace nomvarix
