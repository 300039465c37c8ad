#include "text/FoldedHash.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

/// `text` with every unit folded as the hash folds it, one by one.
std::u16string FoldedByUnit(std::u16string text) {
  for (char16_t& unit : text) unit = FoldAscii(unit);
  return text;
}

// Four units of a word are folded at once: every unit, in every place of a word, must hash alike
// with its other-case form exactly when the two fold alike one by one (no lane may fold what is no
// letter, or borrow from the next), and apart from a neighbouring unit.
TEST(FoldedHashTest, EveryUnitInEveryPlaceHashesAsItFoldsUnitByUnit) {
  for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    for (std::size_t place = 0; place < 6; ++place) {
      std::u16string text(u"aZ@[mQ");
      text[place] = static_cast<char16_t>(unit);
      std::u16string otherCase = text;
      otherCase[place] = static_cast<char16_t>(unit ^ 0x20);
      ASSERT_EQ(FoldedHash(text) == FoldedHash(otherCase), FoldedByUnit(text) == FoldedByUnit(otherCase))
          << "unit " << unit << " at " << place;
      std::u16string neighbour = FoldedByUnit(text);
      neighbour[place] = static_cast<char16_t>(neighbour[place] ^ 1);
      ASSERT_NE(FoldedHash(text), FoldedHash(neighbour)) << "unit " << unit << " at " << place;
    }
  }
  // Neighbours of the letters, with high bits set, in one word: no lane may borrow from another.
  const std::u16string edges{u'@', u'A', u'Z', u'[', u'`', u'a', u'z', u'{', 0x8041, 0xC05A, 0xFFFF, 0x0000,
                             0x7FFF, 0x805A, u'M', 0xDC80};
  for (std::size_t i = 0; i + 4 <= edges.size(); ++i) {
    const std::u16string word = edges.substr(i, 4);
    EXPECT_EQ(FoldedHash(word), FoldedHash(FoldedByUnit(word)));
  }
  EXPECT_EQ(FoldedHash(u"Holiday PHOTO 2024.JPG"), FoldedHash(u"holiday photo 2024.jpg"));
  EXPECT_NE(FoldedHash(u"ÉTÉ.jpg"), FoldedHash(u"été.jpg"));  // only A to Z are folded
}

}  // namespace
}  // namespace nomvarix
