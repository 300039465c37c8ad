#include "platform/Path.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

const std::u16string kSep(1, kPathSeparator);

TEST(Path, TrailingSeparatorFolderAndJoin) {
  EXPECT_EQ(WithTrailingSeparator(u"/photos"), u"/photos" + kSep);
  EXPECT_EQ(WithTrailingSeparator(u"/photos/"), u"/photos/");
  EXPECT_EQ(WithTrailingSeparator(u""), u"");
  EXPECT_EQ(FolderOfPath(u"/a/b/c.txt"), u"/a/b/");
  EXPECT_EQ(FolderOfPath(u"/c.txt"), u"/");
  EXPECT_EQ(FolderOfPath(u"c.txt"), u"");
  EXPECT_EQ(JoinPath(u"/a", u"b.txt"), u"/a" + kSep + u"b.txt");
  EXPECT_EQ(JoinPath(u"/a/", u"b.txt"), u"/a/b.txt");
}

#ifdef _WIN32
TEST(Path, WindowsDrivesAndBothSeparators) {
  EXPECT_EQ(FolderOfPath(u"C:\\photos\\img.jpg"), u"C:\\photos\\");
  EXPECT_EQ(FolderOfPath(u"C:img.jpg"), u"C:");
  EXPECT_EQ(WithTrailingSeparator(u"C:\\photos"), u"C:\\photos\\");
  EXPECT_TRUE(IsPathSeparator(u'/'));
}
#else
TEST(Path, BackslashIsAnOrdinaryCharacterOnPosix) {
  EXPECT_FALSE(IsPathSeparator(u'\\'));
  EXPECT_EQ(FolderOfPath(u"/a/b\\c.txt"), u"/a/");
}
#endif

}  // namespace
}  // namespace nomvarix
