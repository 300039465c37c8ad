#include "ai/TemplateFile.h"

#include <gtest/gtest.h>

#include "platform/Path.h"
#include "support/FakeFileSystem.h"
#include "support/TempFolder.h"
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
    const std::optional<PromptTemplate> loaded = LoadTemplate(fs);
    return loaded ? loaded->systemText : u"(none)";
  }
  test::FakeFileSystem fs;
};

TEST_F(TemplateFileTest, TheUsersFileComesFirstThenTheProgramsAndSavingGoesToTheUsers) {
  EXPECT_EQ(LoadTemplate(fs), std::nullopt);  // no file: the built-in template
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
