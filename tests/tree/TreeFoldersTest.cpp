#include "tree/TreeFolders.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

TEST(TreeFoldersTest, ListsFoldersButNotTheDotEntriesNorHiddenOnesHere) {
  EXPECT_TRUE(TreeListsFolder({u"photos", true, false}));
  EXPECT_FALSE(TreeListsFolder({u"notes.txt", false, false}));
  EXPECT_FALSE(TreeListsFolder({u".", true, true}));
  EXPECT_FALSE(TreeListsFolder({u"..", true, true}));
#ifdef _WIN32
  EXPECT_TRUE(TreeListsFolder({u"AppData", true, true}));  // hidden, listed as Windows does
#else
  EXPECT_FALSE(TreeListsFolder({u".cache", true, true}));
  EXPECT_TRUE(TreeListsFolder({u"caf\u00e9 \U0001F600", true, false}));
#endif
}

TEST(TreeFoldersTest, SortsByNameWithNumbersByValue) {
  Names names{u"img10", u"Img1", u"b", u"img2", u"\u5199\u771f", u"A"};
  SortTreeFolders(names);
#ifdef _WIN32
  EXPECT_EQ(names, (Names{u"img10", u"Img1", u"b", u"img2", u"\u5199\u771f", u"A"}));  // as the system gave them
#else
  EXPECT_EQ(names, (Names{u"A", u"b", u"Img1", u"img2", u"img10", u"\u5199\u771f"}));
#endif
}

}  // namespace
}  // namespace nomvarix
