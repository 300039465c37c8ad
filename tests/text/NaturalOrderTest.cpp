#include "text/NaturalCompare.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

Names Sorted(Names names) {
  std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return CompareNaturalFoldedFirst(a, b) < 0; });
  return names;
}

int Sign(int n) { return (n > 0) - (n < 0); }

TEST(NaturalOrder, DigitRunsCompareByValue) {
  EXPECT_EQ(Sorted({u"img10", u"img2", u"img1", u"img100", u"img"}),
            (Names{u"img", u"img1", u"img2", u"img10", u"img100"}));
  EXPECT_EQ(Sorted({u"v1.10", u"v1.9", u"v10.0", u"v2"}), (Names{u"v1.9", u"v1.10", u"v2", u"v10.0"}));
  // Longer than any integer type: compared by length, then digit by digit.
  EXPECT_LT(CompareNaturalFoldedFirst(u"x99999999999999999999999", u"x100000000000000000000000"), 0);
  EXPECT_GT(CompareNaturalFoldedFirst(u"x123456789012345678901235", u"x123456789012345678901234"), 0);
  // A number before a letter, as the code units of "0".."9" come before letters.
  EXPECT_EQ(Sorted({u"b", u"10", u"a", u"9"}), (Names{u"9", u"10", u"a", u"b"}));
  EXPECT_EQ(Sorted({u"2024-12-1", u"2024-2-10", u"2024-2-9"}), (Names{u"2024-2-9", u"2024-2-10", u"2024-12-1"}));
}

TEST(NaturalOrder, LeadingZerosAndCaseOnlyBreakTies) {
  EXPECT_EQ(Sorted({u"a010", u"a9", u"a01", u"a1", u"a001"}), (Names{u"a1", u"a01", u"a001", u"a9", u"a010"}));
  EXPECT_LT(CompareNaturalFoldedFirst(u"a01b", u"a1c"), 0);  // the letters decide before the zeros
  EXPECT_EQ(Sorted({u"beta", u"Alpha", u"alpha", u"BETA", u"Gamma"}),
            (Names{u"Alpha", u"alpha", u"BETA", u"beta", u"Gamma"}));
  EXPECT_EQ(CompareNaturalFoldedFirst(u"Same7", u"Same7"), 0);
  EXPECT_NE(CompareNaturalFoldedFirst(u"SAME7", u"same7"), 0);
  EXPECT_EQ(CompareNaturalFoldedFirst(u"", u""), 0);
  EXPECT_LT(CompareNaturalFoldedFirst(u"", u"0"), 0);
  EXPECT_LT(CompareNaturalFoldedFirst(u"abc", u"abcd"), 0);
}

TEST(NaturalOrder, HardNamesGetAConsistentTotalOrder) {
  const Names names{u"caf\u00e9.txt",   u"cafe\u0301.txt", u"\u65e5\u8a18.txt", u"\u5199\u771f_0001.jpeg",
                    u"\u5199\u771f_2.jpeg", u"emoji \U0001F600.png", u"bad\xDCFFname", u"bad\xDC80name",
                    u" leading space.txt", u"trailing space .txt", u"README", u"readme",
                    u"\u0661\u0662.txt",  u"12.txt",        u"\u00c4rger.png", u"line\nfeed.txt"};
  for (const auto& a : names) {
    EXPECT_EQ(CompareNaturalFoldedFirst(a, a), 0);
    for (const auto& b : names) {
      EXPECT_EQ(Sign(CompareNaturalFoldedFirst(a, b)), -Sign(CompareNaturalFoldedFirst(b, a)));
      if (a != b) {
        EXPECT_NE(CompareNaturalFoldedFirst(a, b), 0);
      }
      for (const auto& c : names) {
        if (CompareNaturalFoldedFirst(a, b) < 0 && CompareNaturalFoldedFirst(b, c) < 0) {
          EXPECT_LT(CompareNaturalFoldedFirst(a, c), 0);
        }
      }
    }
  }
  EXPECT_GT(CompareNaturalFoldedFirst(u"\u5199\u771f_2.jpeg", u"\u5199\u771f_0001.jpeg"), 0);
  // Digits of other scripts are characters like any other: only ASCII digits form numbers.
  EXPECT_GT(CompareNaturalFoldedFirst(u"\u0661\u0662.txt", u"12.txt"), 0);
  EXPECT_LT(CompareNaturalFoldedFirst(u"bad\xDC80name", u"bad\xDCFFname"), 0);
}

}  // namespace
}  // namespace nomvarix
