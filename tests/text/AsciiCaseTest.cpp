#include "text/AsciiCase.h"

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(AsciiCase, FoldsOnlyTheLettersAToZ) {
  EXPECT_EQ(FoldAscii(u"ABC xyz ÉÀ Ω [@]"), u"abc xyz ÉÀ Ω [@]");
  EXPECT_TRUE(EqualsFolded(u"Photo.JPG", u"photo.jpg"));
  EXPECT_FALSE(EqualsFolded(u"É.jpg", u"é.jpg"));
  EXPECT_FALSE(EqualsFolded(u"ab", u"abc"));
}

TEST(AsciiCase, OrdinalAndFoldedOrdersDifferAroundTheUnderscore) {
  // "_" (0x5F) sits between the upper-case (0x41..) and lower-case (0x61..) letters.
  EXPECT_LT(CompareOrdinal(u"B", u"_"), 0);
  EXPECT_LT(CompareOrdinal(u"_", u"a"), 0);
  EXPECT_LT(CompareFolded(u"_", u"a"), 0);
  EXPECT_LT(CompareFolded(u"a", u"B"), 0);
  EXPECT_EQ(CompareFolded(u"ABC", u"abc"), 0);
  EXPECT_LT(CompareFolded(u"ab", u"ABC"), 0);  // a proper prefix comes first
  // Code units compare unsigned: U+E000 is above a surrogate pair's lead unit.
  EXPECT_LT(CompareOrdinal(u"\U0001F4F7", u"\uE000"), 0);
}

}  // namespace
}  // namespace nomvarix
