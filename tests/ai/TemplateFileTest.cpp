#include "ai/TemplateFile.h"

#include <gtest/gtest.h>

#include "support/FakeFileSystem.h"

namespace nomvarix {
namespace {

class TemplateFileTest : public ::testing::Test {
 protected:
  TemplateFileTest() {
    fs.AddFolder(u"/documents/", {});
    fs.AddFolder(u"/program/", {});
  }
  test::FakeFileSystem fs;
};

TEST_F(TemplateFileTest, TheUsersFileComesFirstThenTheProgramsAndSavingGoesToTheUsers) {
  EXPECT_EQ(LoadTemplate(fs), std::nullopt);  // no file: the built-in template
  EXPECT_EQ(fs.KindOf(u"/documents/Nomvarix/data/"), PathKind::Folder);  // made on the way

  fs.CreateFolder(u"/program/data/");
  ASSERT_TRUE(fs.WriteWholeFile(u"/program/data/template.txt", "#SYSTEM:\r\nfrom the program\r\n"));
  EXPECT_EQ(LoadTemplate(fs)->systemText, u"from the program");

  ASSERT_TRUE(SaveTemplateText(fs, u"#SYSTEM:\r\nd\u00E9j\u00E0 vu\r\n"));
  EXPECT_EQ(LoadTemplate(fs)->systemText, u"d\u00E9j\u00E0 vu");
  EXPECT_EQ(*fs.ReadWholeFile(u"/documents/Nomvarix/data/template.txt", 100), "#SYSTEM:\r\nd\xC3\xA9j\xC3\xA0 vu\r\n");
}

TEST_F(TemplateFileTest, ReadingStopsAtTheFirstNul) {
  fs.CreateFolder(u"/documents/Nomvarix/");
  fs.CreateFolder(u"/documents/Nomvarix/data/");
  fs.WriteWholeFile(u"/documents/Nomvarix/data/x.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(ReadUtf8File(fs, u"/documents/Nomvarix/data/x.txt"), u"ab");
  EXPECT_EQ(ReadUtf8File(fs, u"/documents/missing.txt"), std::nullopt);
}

}  // namespace
}  // namespace nomvarix
