#include "text/FoldedHash.h"

#include <bit>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "text/AsciiCase.h"

namespace nomvarix {
namespace {

/// The hash unit by unit, as it was first written: the quick one must give the same numbers, since
/// names on disk and new names are compared through it.
std::uint64_t ReferenceHash(std::u16string_view text) {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = text.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 4 <= text.size(); i += 4) {
    std::uint64_t word = 0;
    for (std::size_t k = 0; k < 4; ++k) word |= std::uint64_t{FoldAscii(text[i + k])} << (16 * k);
    hash = std::rotl((hash ^ word) * kMultiplier, 29);
  }
  std::uint64_t tail = 0;
  for (; i < text.size(); ++i) tail = tail << 16 | FoldAscii(text[i]);
  hash = (hash ^ tail) * kMultiplier;
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDull;
  hash ^= hash >> 33;
  return hash;
}

TEST(FoldedHashTest, EveryUnitInEveryPlaceOfAWordHashesAsUnitByUnit) {
  for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
    const auto u = static_cast<char16_t>(unit);
    for (std::size_t place = 0; place < 4; ++place) {
      std::u16string text(u"aZ@[");
      text[place] = u;
      ASSERT_EQ(FoldedHash(text), ReferenceHash(text)) << "unit " << unit << " at " << place;
    }
  }
  // Neighbours of the letters, with high bits set, in one word: no lane may borrow from another.
  const std::u16string edges{u'@', u'A', u'Z', u'[', u'`', u'a', u'z', u'{', 0x8041, 0xC05A, 0xFFFF, 0x0000,
                             0x7FFF, 0x805A, u'M', 0xDC80};
  for (std::size_t i = 0; i + 4 <= edges.size(); ++i) {
    const std::u16string_view word = std::u16string_view(edges).substr(i, 4);
    EXPECT_EQ(FoldedHash(word), ReferenceHash(word));
  }
  EXPECT_EQ(FoldedHash(u"Holiday PHOTO 2024.JPG"), FoldedHash(u"holiday photo 2024.jpg"));
  EXPECT_NE(FoldedHash(u"ÉTÉ.jpg"), FoldedHash(u"été.jpg"));  // only A to Z are folded
}

}  // namespace
}  // namespace nomvarix
