#include "text/NaturalCompare.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(NaturalCompare, DigitRunsCompareByValueThenByLength) {
  EXPECT_LT(CompareNatural(u"IMG2.jpg", u"IMG10.jpg"), 0);
  EXPECT_GT(CompareNatural(u"IMG10.jpg", u"IMG2.jpg"), 0);
  EXPECT_LT(CompareNatural(u"a2", u"a02"), 0);  // equal values: the shorter run first
  EXPECT_LT(CompareNatural(u"a02", u"a10"), 0);
  EXPECT_GT(CompareNatural(u"a7b", u"a07a"), 0);  // what follows the run decides before its length
  EXPECT_LT(CompareNatural(u"a7x07", u"a07x7"), 0);  // the first run of another length decides
  EXPECT_EQ(CompareNatural(u"x12y3", u"x12y3"), 0);
  EXPECT_LT(CompareNatural(u"a0", u"a00"), 0);
  EXPECT_LT(CompareNatural(u"a", u"a1"), 0);  // a proper prefix first
  EXPECT_LT(CompareNatural(u"1", u"a"), 0);   // a digit and a letter by their code units
  EXPECT_GT(CompareNatural(u"1", u"!"), 0);
}

TEST(NaturalCompare, LongRunsDoNotOverflow) {
  const std::u16string big(40, u'9');
  const std::u16string bigger = u"1" + std::u16string(40, u'0');
  EXPECT_LT(CompareNatural(u"f" + big, u"f" + bigger), 0);
  EXPECT_LT(CompareNatural(u"f000" + big, u"f" + bigger), 0);  // zeros in front add nothing
  EXPECT_LT(CompareNatural(u"f18446744073709551616", u"f18446744073709551617"), 0);
  EXPECT_GT(CompareNatural(u"f18446744073709551616", u"f18446744073709551615"), 0);
  EXPECT_LT(CompareNatural(u"f" + std::u16string(5000, u'0'), u"f1"), 0);
}

TEST(NaturalCompare, FoldingAndOtherScripts) {
  EXPECT_EQ(CompareNaturalFolded(u"Photo7.JPG", u"photo7.jpg"), 0);
  EXPECT_LT(CompareNaturalFolded(u"photo9.jpg", u"PHOTO10.jpg"), 0);
  EXPECT_GT(CompareNatural(u"photo9.jpg", u"PHOTO10.jpg"), 0);  // "p" after "P" without folding
  EXPECT_LT(CompareNaturalFolded(u"_1", u"a1"), 0);
  // Digits of other scripts are no ASCII digits: they compare as code units.
  EXPECT_GT(CompareNatural(u"\u0662", u"\u0661\u0660"), 0);
  // Lone surrogates (undecodable bytes) and astral characters around digits.
  EXPECT_LT(CompareNatural(u"\xDC80" u"2", u"\xDC80" u"10"), 0);
  EXPECT_LT(CompareNatural(u"\U0001F600 9", u"\U0001F600 10"), 0);
}

TEST(NaturalCompare, IsATotalOrderThatSortsAndAgreesWithItself) {
  std::vector<std::u16string> names = {u"a10", u"a2", u"a02", u"a", u"a1b", u"a01b", u"b", u"a002", u"A2",
                                       u"a2a", u"10", u"9", u"09", u"", u"a 2", u"a\u00E9"};
  for (const auto& x : names) {
    for (const auto& y : names) {
      const int xy = CompareNatural(x, y);
      EXPECT_EQ(xy, -CompareNatural(y, x)) << std::string(x.begin(), x.end());
      EXPECT_EQ(xy == 0, x == y);
      for (const auto& z : names) {
        if (xy < 0 && CompareNatural(y, z) < 0) {
          EXPECT_LT(CompareNatural(x, z), 0);
        }
      }
    }
  }
  std::sort(names.begin(), names.end(), [](const auto& x, const auto& y) { return CompareNatural(x, y) < 0; });
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"9", u"09", u"10", u"A2", u"a", u"a 2", u"a1b", u"a01b",
                                                  u"a2", u"a02", u"a002", u"a2a", u"a10", u"a\u00E9", u"b"}));
}

}  // namespace
}  // namespace nomvarix
