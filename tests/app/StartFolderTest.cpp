#include "app/rules/StartFolder.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "support/TempFolder.h"

namespace nomvarix {
namespace {

const std::u16string kSep(1, kPathSeparator);

class StartFolderTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  test::TempFolder temp;
  const std::u16string lastPath = u"/last/path/";
};

TEST_F(StartFolderTest, AFolderIsUsedWithATrailingSeparator) {
  temp.AddFolder("photos");
  const std::u16string folder = temp.Path16() + u"photos";
  EXPECT_EQ(ChooseStartFolder(folder, lastPath, *fs), folder + kSep);
  EXPECT_EQ(ChooseStartFolder(folder + kSep, lastPath, *fs), folder + kSep);
}

TEST_F(StartFolderTest, AFileGivesTheFolderThatHoldsIt) {
  temp.AddFile("photos/img.jpg");
  EXPECT_EQ(ChooseStartFolder(temp.Path16() + u"photos" + kSep + u"img.jpg", lastPath, *fs),
            temp.Path16() + u"photos" + kSep);
}

TEST_F(StartFolderTest, AMissingPathOpensNothingAndIgnoresTheLastPath) {
  EXPECT_EQ(ChooseStartFolder(temp.Path16() + u"nothing", lastPath, *fs), u"");
}

TEST_F(StartFolderTest, WithoutAStartPathTheLastPathIsUsed) {
  EXPECT_EQ(ChooseStartFolder(u"", lastPath, *fs), lastPath);
  EXPECT_EQ(ChooseStartFolder(u"", u"", *fs), u"");
}

TEST_F(StartFolderTest, RelativePathsAreTakenAgainstTheCurrentFolder) {
  EXPECT_EQ(ChooseStartFolder(u".", lastPath, *fs), WithTrailingSeparator(fs->AbsolutePath(u".")));
}

TEST_F(StartFolderTest, ParentComponentsAreResolvedAsTheCurrentOneIs) {
  temp.AddFolder("docs");
  temp.AddFile("photos/img.jpg");
  const std::u16string photos = temp.Path16() + u"photos" + kSep;
  EXPECT_EQ(ChooseStartFolder(temp.Path16() + u"docs" + kSep + u".." + kSep + u"photos", lastPath, *fs), photos);
  EXPECT_EQ(ChooseStartFolder(photos + u".." + kSep + u"photos" + kSep + u"img.jpg", lastPath, *fs), photos);
  EXPECT_EQ(ChooseStartFolder(photos + u"..", lastPath, *fs), temp.Path16());
  const std::u16string current = WithTrailingSeparator(fs->AbsolutePath(u"."));
  EXPECT_EQ(ChooseStartFolder(u"..", lastPath, *fs), FolderOfPath(current.substr(0, current.size() - 1)));
}

}  // namespace
}  // namespace nomvarix
