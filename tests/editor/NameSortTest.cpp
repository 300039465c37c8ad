#include "editor/NameSort.h"

#include <gtest/gtest.h>


namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

Names Sorted(const Names& names, bool byExtension, bool caseSensitive) {
  std::vector<std::u16string_view> views(names.begin(), names.end());
  SortNames(views, SortOrder{byExtension, caseSensitive});
  return Names(views.begin(), views.end());
}

TEST(NameSort, NameOrders) {
  const Names names = {u"a.txt", u"B.txt", u"_c.txt"};
  EXPECT_EQ(Sorted(names, false, true), (Names{u"B.txt", u"_c.txt", u"a.txt"}));
  EXPECT_EQ(Sorted(names, false, false), (Names{u"_c.txt", u"a.txt", u"B.txt"}));
  // A proper prefix sorts first; code units compare unsigned.
  EXPECT_EQ(Sorted({u"ab", u"a", u"\u00E9", u"z"}, false, true), (Names{u"a", u"ab", u"z", u"\u00E9"}));
}

TEST(NameSort, ExtensionOrders) {
  const Names names = {u"z", u"b.jpg", u"a.png", u"c.JPG"};
  EXPECT_EQ(Sorted(names, true, true), (Names{u"z", u"c.JPG", u"b.jpg", u"a.png"}));
  EXPECT_EQ(Sorted(names, true, false), (Names{u"z", u"b.jpg", u"c.JPG", u"a.png"}));
  // Equal extensions fall back to the whole name; ".gitignore" has the extension "gitignore".
  EXPECT_EQ(Sorted({u"b.txt", u".gitignore", u"a.txt", u"B.TXT", u"Makefile"}, true, false),
            (Names{u"Makefile", u".gitignore", u"a.txt", u"b.txt", u"B.TXT"}));
}

}  // namespace
}  // namespace nomvarix
