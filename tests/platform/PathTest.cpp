#include "platform/Path.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(Path, TrailingSeparatorFolderAndJoin) {
  EXPECT_EQ(WithTrailingSeparator(u"/photos"), u"/photos/");
  EXPECT_EQ(WithTrailingSeparator(u"/photos/"), u"/photos/");
  EXPECT_EQ(WithTrailingSeparator(u""), u"");
  EXPECT_EQ(FolderOfPath(u"/a/b/c.txt"), u"/a/b/");
  EXPECT_EQ(FolderOfPath(u"/c.txt"), u"/");
  EXPECT_EQ(FolderOfPath(u"c.txt"), u"");
  EXPECT_EQ(JoinPath(u"/a", u"b.txt"), u"/a/b.txt");
  EXPECT_EQ(JoinPath(u"/a/", u"b.txt"), u"/a/b.txt");
}

}  // namespace
}  // namespace nomvarix
