#include "tree/TreePath.h"

#include <gtest/gtest.h>

#include "platform/Path.h"

namespace nomvarix {
namespace {

using Texts = std::vector<std::u16string>;

TEST(TreePathTest, EveryPathEndsWithTheSeparator) {
#ifdef _WIN32
  EXPECT_EQ(TreeItemPath({u"C:\\"}), u"C:\\");
  EXPECT_EQ(TreeItemPath({u"C:\\", u"Users", u"ann"}), u"C:\\Users\\ann\\");
  EXPECT_EQ(TreePathComponents(u"c:\\Users\\\\ann"), (Texts{u"c:\\", u"Users", u"ann"}));
#else
  EXPECT_EQ(TreeItemPath({u"/"}), u"/");
  EXPECT_EQ(TreeItemPath({u"/home/ann/", u"photos"}), u"/home/ann/photos/");
  EXPECT_EQ(TreeItemPath({u"/", u"home", u"ann"}), u"/home/ann/");
  EXPECT_EQ(TreePathComponents(u"/home//ann/"), (Texts{u"/", u"home", u"ann"}));
  EXPECT_EQ(TreePathComponents(u"/"), (Texts{u"/"}));
#endif
  EXPECT_TRUE(TreePathComponents(u"relative/path").empty());
}

TEST(TreePathTest, AComponentIsMatchedExactlyFirstThenIgnoringCase) {
  EXPECT_EQ(MatchingItem({u"Photos", u"photos"}, u"photos"), 1);
  EXPECT_EQ(MatchingItem({u"Photos", u"music"}, u"PHOTOS"), 0);
  EXPECT_EQ(MatchingItem({u"Photos"}, u"Photo"), -1);
}

}  // namespace
}  // namespace nomvarix
