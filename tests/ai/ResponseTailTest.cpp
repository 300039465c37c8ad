// The response box's share of a long answer: its end only, each character laid out a bounded number
// of times, and the whole answer kept.
#include <gtest/gtest.h>

#include "ai/AnswerParsing.h"
#include "ai/ResponseTail.h"

namespace nomvarix {
namespace {

TEST(ResponseTailTest, TheBoxHoldsTheAnswersEndAndEveryCharacterIsLaidOutAtMostTwice) {
  struct Case {
    const char* what;
    std::size_t limit;
    std::u16string piece;
    int pieces;
  };
  const Case cases[] = {
      {"lines", 200, u"Übersicht 日記 a.txt\r\n", 400},
      {"one long line", 64, u"x", 5000},
      {"emoji only", 33, u"😀", 3000},
      {"pieces larger than the box", 16, std::u16string(100, u'é') + u"\r\n", 50},
  };
  for (const Case& c : cases) {
    ResponseTail tail(c.limit);
    std::u16string box = tail.Show(u"Processing group: 2 of 3").text;
    std::size_t laidOut = box.size();
    std::u16string whole;
    for (int i = 0; i < c.pieces; ++i) {
      const ResponseTail::BoxChange change = i == 0 ? tail.Show(c.piece) : tail.Append(c.piece);
      box = change.replace ? change.text : box + change.text;
      laidOut += change.text.size();
      whole += c.piece;
      ASSERT_LE(box.size(), c.limit) << c.what;
      ASSERT_EQ(tail.Hidden() + box.size(), whole.size()) << c.what;
      ASSERT_TRUE(whole.ends_with(box)) << c.what;
    }
    EXPECT_EQ(tail.Whole(), whole) << c.what;
    EXPECT_LE(laidOut, 2 * whole.size() + 30) << c.what;
    // The end starts at a line's start where one is near, and never inside a character.
    if (c.piece.ends_with(u"\r\n") && c.piece.size() <= c.limit / 8) {
      EXPECT_TRUE(whole.substr(0, tail.Hidden()).ends_with(u"\r\n")) << c.what;
    }
    EXPECT_FALSE(box.front() >= 0xDC00 && box.front() <= 0xDFFF) << c.what;
    const ResponseTail::BoxChange all = tail.ShowWhole();
    EXPECT_TRUE(all.replace && all.text == whole && tail.Hidden() == 0) << c.what;
  }
}

TEST(ResponseTailTest, ALongListingEndsWithHowManyPairsItLeavesOut) {
  const std::vector<std::vector<RenamePair>> groups = {
      {{u"a.txt", u"Übersicht.txt"}, {u"b.txt", u"日記.txt"}}, {{u"c.txt", u"😀.txt"}}, {{u"d.txt", u"d2.txt"}}};
  EXPECT_EQ(ListParsedPairs(groups, 4), ListParsedPairs(groups));
  EXPECT_EQ(ListParsedPairs(groups, 3), u"a.txt, Übersicht.txt\r\nb.txt, 日記.txt\r\nc.txt, 😀.txt\r\n… and 1 more\r\n");
  EXPECT_EQ(ListParsedPairs(groups, 1), u"a.txt, Übersicht.txt\r\n… and 3 more\r\n");
  EXPECT_EQ(ListParsedPairs(groups, 0), u"… and 4 more\r\n");
}

}  // namespace
}  // namespace nomvarix
