#include "editor/PastedText.h"

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Pieces = std::vector<std::u16string>;

Pieces PiecesOf(const std::vector<std::u16string_view>& parts, std::size_t maxPieces, std::size_t maxLength) {
  PastedText pasted(maxPieces, maxLength);
  for (const std::u16string_view part : parts) pasted.Append(part);
  return pasted.Finish();
}

// However the text is cut into parts (between the CR and LF of a separator, between the halves of
// a pair), the pieces are those of the whole text.
TEST(PastedText, GivesThePiecesOfTheWholeTextHoweverItArrives) {
  const struct {
    const char* what;
    std::u16string text;
    std::size_t maxPieces, maxLength;
    Pieces pieces;
  } cases[] = {
      {"separators", u"D\u00E4cher\r\n\u65E5\u8A18\r\n", 9, 99, {u"D\u00E4cher", u"\u65E5\u8A18"}},
      {"an empty first piece", u"\r\nx", 9, 99, {u"", u"x"}},
      {"empty pieces between separators", u"a\r\n\r\n\r\nb", 9, 99, {u"a", u"", u"", u"b"}},
      {"only a separator", u"\r\n", 9, 99, {u""}},
      {"nothing but controls", u"\x1b\r\t\x7f\u0085", 9, 99, {}},
      {"controls dropped", u"lone\rcr\ttab\x1b" u"esc\n", 9, 99, {u"lonecrtabesc"}},
      {"a control between CR and LF", u"a\r\x1b\nb", 9, 99, {u"ab"}},
      {"CR CR LF", u"a\r\r\nb", 9, 99, {u"a", u"b"}},
      {"a pair", u"x\U0001F600y\u00DF", 9, 99, {u"x\U0001F600y\u00DF"}},
      {"a pair around a control", u"\xD83D\x1b\xDE00", 9, 99, {u"\U0001F600"}},
      {"a lone high half before a separator", u"a\xD83D\r\nb", 9, 99, {u"a\uFFFD", u"b"}},
      {"a lone high half at the end", u"a\xD83D", 9, 99, {u"a\uFFFD"}},
      {"an escaped byte", u"a\xDC80" u"b", 9, 99, {u"a\xDC80" u"b"}},
      {"pieces beyond those used", u"1\r\n2\r\n3\r\n4", 2, 99, {u"1", u"2"}},
      {"a long piece kept one past the bound", u"abcdefgh\r\nxy", 9, 3, {u"abcd", u"xy"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::u16string_view text = c.text;
    EXPECT_EQ(PiecesOf({text}, c.maxPieces, c.maxLength), c.pieces);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      EXPECT_EQ(PiecesOf({text.substr(0, cut), text.substr(cut)}, c.maxPieces, c.maxLength), c.pieces) << "cut at " << cut;
    }
    std::vector<std::u16string_view> units;
    for (std::size_t i = 0; i < text.size(); ++i) units.push_back(text.substr(i, 1));
    EXPECT_EQ(PiecesOf(units, c.maxPieces, c.maxLength), c.pieces) << "a unit at a time";
  }
}

}  // namespace
}  // namespace nomvarix
