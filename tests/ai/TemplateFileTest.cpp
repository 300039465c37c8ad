#include "ai/TemplateFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Path.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"
#include "text/Utf16.h"
#ifndef _WIN32
#include "support/WaitingFifo.h"
#endif

namespace nomvarix {
namespace {

class TemplateFileTest : public ::testing::Test {
 protected:
  TemplateFileTest() {
    fs.AddFolder(u"/documents/", {});
    fs.AddFolder(u"/program/", {});
  }
  std::u16string SystemTextLoaded() {
    const std::optional<PromptTemplate> loaded = LoadTemplate(fs).prompt;
    return loaded ? loaded->systemText : u"(none)";
  }
  test::FakeFileSystem fs;
};

TEST_F(TemplateFileTest, TheUsersFileComesFirstThenTheProgramsAndSavingGoesToTheUsers) {
  EXPECT_EQ(LoadTemplate(fs).prompt, std::nullopt);  // no file: the built-in template
  const UserDataFolders folders = ResolveDataFolders(fs);
  EXPECT_EQ(fs.KindOf(folders.user), PathKind::Folder);  // made on the way
  EXPECT_EQ(fs.KindOf(folders.program), PathKind::Missing);  // never made

  fs.CreateFolder(folders.program);
  ASSERT_TRUE(fs.WriteWholeFile(JoinPath(folders.program, u"template.txt"), "#SYSTEM:\r\nfrom the program\r\n"));
  EXPECT_EQ(SystemTextLoaded(), u"from the program");

  ASSERT_TRUE(SaveTemplateText(fs, u"#SYSTEM:\r\nd\u00E9j\u00E0 vu\r\n"));
  EXPECT_EQ(SystemTextLoaded(), u"d\u00E9j\u00E0 vu");
  EXPECT_EQ(fs.ReadWholeFile(JoinPath(folders.user, u"template.txt"), 100), "#SYSTEM:\r\nd\xC3\xA9j\xC3\xA0 vu\r\n");
}

TEST(TemplateFolderTest, TheDataHomeUnlessTheUserKeepsAFolderInDocuments) {
  const struct {
    std::u16string dataHome;                 // empty: no XDG data home, as on Windows
    std::vector<std::u16string> existing;    // folders there before
    std::u16string user;                     // the folder chosen
  } cases[] = {
      {u"", {u"/documents/"}, u"/documents/Nomvarix/data/"},
#ifndef _WIN32  // an XDG data home is a Linux folder; Windows has none
      {u"/home/日記/.local/share/", {u"/documents/"}, u"/home/日記/.local/share/nomvarix/"},
      {u"/home/u/.local/share/", {}, u"/home/u/.local/share/nomvarix/"},
      {u"/home/u/.local/share/", {u"/documents/Nomvarix/"}, u"/documents/Nomvarix/data/"},
      {u"/home/u/.local/share/", {u"/documents/Nomvarix/", u"/documents/Nomvarix/data/"}, u"/documents/Nomvarix/data/"},
      {u"/home/u/.local/share/", {u"/home/u/.local/share/nomvarix/", u"/documents/Nomvarix/"},
       u"/documents/Nomvarix/data/"},
#endif
  };
  // The folders are joined with the system's separator; the cases write "/" for it.
  const auto slashed = [](std::u16string path) {
    std::replace(path.begin(), path.end(), kPathSeparator, u'/');
    return path;
  };
  for (const auto& c : cases) {
    test::FakeFileSystem fs;
    fs.SetDataHomeFolder(c.dataHome);
    for (const std::u16string& folder : c.existing) fs.AddFolder(folder, {});
    const bool hadDocuments = fs.KindOf(u"/documents/") == PathKind::Folder;
    const UserDataFolders folders = ResolveDataFolders(fs);
    EXPECT_EQ(slashed(folders.user), c.user) << ToUtf8(c.dataHome);
    EXPECT_EQ(slashed(folders.program), u"/program/data/");
    EXPECT_EQ(fs.KindOf(folders.user), PathKind::Folder) << ToUtf8(c.user);
    EXPECT_EQ(fs.KindOf(u"/documents/") == PathKind::Folder, hadDocuments) << "the documents folder is the user's";
    if (c.user.starts_with(c.dataHome) && !c.dataHome.empty()) {
      EXPECT_EQ(fs.KindOf(u"/documents/Nomvarix/"), PathKind::Missing);
      EXPECT_EQ(fs.KindOf(c.dataHome), PathKind::Folder) << "made on the way";
    }
  }
}

TEST_F(TemplateFileTest, AFileTooLargeOrUnreadableIsRefusedAndSaidSo) {
  const UserDataFolders folders = ResolveDataFolders(fs);
  fs.CreateFolder(folders.program);
  ASSERT_TRUE(fs.WriteWholeFile(JoinPath(folders.program, u"template.txt"), "#SYSTEM:\r\nfrom the program\r\n"));
  const std::u16string user = JoinPath(folders.user, u"template.txt");
  const struct {
    std::size_t bytes;
    std::u16string_view said;
  } cases[] = {{16 * 1024 * 1024, u""}, {16 * 1024 * 1024 + 1, u" is larger than 16 MB"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(fs.WriteWholeFile(user, "#SYSTEM:\r\n\xC3\xA9t\xC3\xA9\r\n" + std::string(c.bytes - 17, ' ')));
    const TemplateLoad loaded = LoadTemplate(fs);
    if (c.said.empty()) {
      ASSERT_TRUE(loaded.prompt);
      EXPECT_EQ(loaded.prompt->systemText.substr(0, 3), u"\u00E9t\u00E9");
      EXPECT_EQ(loaded.refusal, u"");
    } else {
      EXPECT_EQ(loaded.prompt, std::nullopt) << "neither the file nor the program's instead";
      EXPECT_EQ(loaded.refusal, u"The prompt template " + user + std::u16string(c.said) +
                                    u" and was not loaded; the built-in template is used, and the file is left as it is.");
    }
  }
}

TEST_F(TemplateFileTest, ReadingStopsAtTheFirstNul) {
  const UserDataFolders folders = ResolveDataFolders(fs);
  fs.WriteWholeFile(JoinPath(folders.user, u"x.txt"), std::string("ab\0cd", 5));
  EXPECT_EQ(ReadUtf8File(fs, JoinPath(folders.user, u"x.txt")), u"ab");
  EXPECT_EQ(ReadUtf8File(fs, u"/documents/missing.txt"), std::nullopt);
}

#ifndef _WIN32
TEST(TemplateFileOnDiskTest, APipeNamedLikeTheTemplateIsNotReadAndNothingWaits) {
  test::TempFolder folder;
  test::WaitingFifo fifo(folder.Path() + "template.txt");
  ASSERT_TRUE(fifo.Created());
  folder.AddFile("other.txt", "#SYSTEM:\r\nx\r\n");
  const auto fs = MakeNativeFileSystem();
  EXPECT_EQ(ReadUtf8File(*fs, folder.Path16() + u"template.txt"), std::nullopt);
  EXPECT_EQ(ReadUtf8File(*fs, folder.Path16() + u"other.txt"), u"#SYSTEM:\r\nx\r\n");
  EXPECT_FALSE(fifo.ReaderCameBy());
}
#endif

}  // namespace
}  // namespace nomvarix
