#include "editor/NameSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "editor/NameSplit.h"
#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

using Names = std::vector<std::u16string>;

Names Sorted(const Names& names, bool byExtension, bool caseSensitive, bool numbersByValue = false) {
  std::vector<std::u16string_view> views(names.begin(), names.end());
  SortNames(views, SortOrder{byExtension, caseSensitive, numbersByValue});
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

TEST(NameSort, NumbersByValueInEveryOrder) {
  // Names without digits keep the four orders.
  for (const bool byExtension : {false, true}) {
    for (const bool caseSensitive : {false, true}) {
      const Names names = {u"a.txt", u"B.txt", u"_c.txt", u"z", u"b.jpg", u"a.png", u"c.JPG"};
      EXPECT_EQ(Sorted(names, byExtension, caseSensitive, true), Sorted(names, byExtension, caseSensitive));
    }
  }
  const Names photos = {u"IMG10.jpg", u"IMG2.jpg", u"img3.JPG", u"IMG1.png", u"IMG02.jpg"};
  EXPECT_EQ(Sorted(photos, false, true, true),
            (Names{u"IMG1.png", u"IMG2.jpg", u"IMG02.jpg", u"IMG10.jpg", u"img3.JPG"}));
  EXPECT_EQ(Sorted(photos, false, false, true),
            (Names{u"IMG1.png", u"IMG2.jpg", u"IMG02.jpg", u"img3.JPG", u"IMG10.jpg"}));
  EXPECT_EQ(Sorted(photos, true, true, true),
            (Names{u"img3.JPG", u"IMG2.jpg", u"IMG02.jpg", u"IMG10.jpg", u"IMG1.png"}));
  EXPECT_EQ(Sorted(photos, true, false, true),
            (Names{u"IMG2.jpg", u"IMG02.jpg", u"img3.JPG", u"IMG10.jpg", u"IMG1.png"}));
  EXPECT_EQ(Sorted({u"a10", u"a02", u"a2"}, false, true, true), (Names{u"a2", u"a02", u"a10"}));
  // Extensions compare by value too.
  EXPECT_EQ(Sorted({u"x.mp10", u"x.mp4", u"x.7z"}, true, true, true), (Names{u"x.7z", u"x.mp4", u"x.mp10"}));
}

TEST(NameSort, NumbersByValueAmongHardNames) {
  const Names names = {u"\U0001F600 10.png", u"\U0001F600 9.png", u"\xDC80" u"2.bin", u"\xDC80" u"11.bin",
                       u"\u65E5\u8A18_0010.jpeg", u"\u65E5\u8A18_0009.jpeg", u" 3 .txt", u" 20 .txt",
                       u"caf\u00E9 2.txt", u"caf\u00E9 10.txt", std::u16string(240, u'9') + u"0.x",
                       std::u16string(241, u'9') + u".x"};
  EXPECT_EQ(Sorted(names, false, true, true),
            (Names{u" 3 .txt", u" 20 .txt", std::u16string(240, u'9') + u"0.x", std::u16string(241, u'9') + u".x",
                   u"caf\u00E9 2.txt", u"caf\u00E9 10.txt", u"\u65E5\u8A18_0009.jpeg", u"\u65E5\u8A18_0010.jpeg",
                   u"\U0001F600 9.png", u"\U0001F600 10.png", u"\xDC80" u"2.bin", u"\xDC80" u"11.bin"}));
}

// Names equal when folded always list in one order, whatever order the folder gives them in.
TEST(NameSort, FoldedOrdersAreTotal) {
  const struct {
    Names names;
    bool byExtension;
    bool numbersByValue;
    Names expected;
  } cases[] = {
      {{u"Ab1", u"aB1", u"AB1", u"ab1"}, false, false, {u"ab1", u"aB1", u"Ab1", u"AB1"}},
      {{u"Ab1", u"aB1", u"AB1", u"ab1"}, false, true, {u"ab1", u"aB1", u"Ab1", u"AB1"}},
      {{u"a.TXT", u"a.txt", u"A.txt"}, true, false, {u"a.txt", u"a.TXT", u"A.txt"}},
      {{u"a.TXT", u"a.txt", u"A.txt"}, true, true, {u"a.txt", u"a.TXT", u"A.txt"}},
      {{u"\u00C9t\u00E9 2.jpg", u"\u00C9T\u00E9 2.jpg", u"\u00E9t\u00E9 2.jpg", u"\u00C9t\u00E9 10.JPG"}, false, true,
       {u"\u00C9t\u00E9 2.jpg", u"\u00C9T\u00E9 2.jpg", u"\u00C9t\u00E9 10.JPG", u"\u00E9t\u00E9 2.jpg"}},
      {{u"IMG_0001.JPG", u"img_0001.jpg", u"IMG_0001.jpg", u"Img_0001.jpg"}, true, false,
       {u"img_0001.jpg", u"Img_0001.jpg", u"IMG_0001.jpg", u"IMG_0001.JPG"}},
  };
  for (const auto& c : cases) {
    Names names = c.names;
    std::sort(names.begin(), names.end());
    do {
      EXPECT_EQ(Sorted(names, c.byExtension, false, c.numbersByValue), c.expected);
    } while (std::next_permutation(names.begin(), names.end()));
  }
}

TEST(NameSort, PlainOrdersAgreeWithComparingWholeNamesAndExtensions) {
  // Names that share their first four and eight units, differ past them or only in case, are
  // prefixes of each other, carry units above 0x7FFF, and extensions longer than four units.
  const std::u16string alphabet = u"aAbB._\u00e9\u65e5\xDC80\xFFFF" u"1";
  const unsigned freshSeed = std::random_device{}();
  std::printf("fresh seed: %u\n", freshSeed);
  for (const unsigned seed : {1u, 2u, 3u, freshSeed}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    Names names;
    for (int i = 0; i < 3000; ++i) {
      std::u16string name = i % 3 == 0 ? u"IMG_" : i % 3 == 1 ? u"img_2024" : u"";
      for (int k = std::uniform_int_distribution<int>(0, 12)(random); k > 0; --k) {
        name.push_back(alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random)]);
      }
      names.push_back(name);
    }
    for (const bool byExtension : {false, true}) {
      for (const bool caseSensitive : {false, true}) {
        const auto compare = [&](std::u16string_view a, std::u16string_view b) {
          return caseSensitive ? CompareOrdinal(a, b) : CompareFolded(a, b);
        };
        Names expected = names;
        std::stable_sort(expected.begin(), expected.end(), [&](const std::u16string& a, const std::u16string& b) {
          const int byExt = byExtension ? compare(ExtensionOf(a), ExtensionOf(b)) : 0;
          return byExt != 0 ? byExt < 0 : compare(a, b) < 0;
        });
        const Names sorted = Sorted(names, byExtension, caseSensitive);
        // Names whose keys compare equal may end in either order: each is checked against its neighbour.
        ASSERT_EQ(sorted.size(), expected.size());
        for (std::size_t i = 0; i < sorted.size(); ++i) {
          ASSERT_EQ(compare(sorted[i], expected[i]), 0) << "place " << i << " by extension " << byExtension
                                                         << ", case-sensitive " << caseSensitive;
        }
      }
    }
  }
}

}  // namespace
}  // namespace nomvarix
