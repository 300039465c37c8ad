#include "text/Utf16.h"

#include <random>

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

TEST(Utf16, DecodesWellFormedUtf8OfEveryLength) {
  EXPECT_EQ(FromUtf8("abc"), u"abc");
  EXPECT_EQ(FromUtf8("caf\xC3\xA9"), u"café");           // 2 bytes
  EXPECT_EQ(FromUtf8("\xE2\x82\xAC"), u"€");              // 3 bytes
  EXPECT_EQ(FromUtf8("\xF0\x9F\x93\xB7"), u"\U0001F4F7");  // 4 bytes: a surrogate pair
  EXPECT_EQ(ToUtf8(u"café €\U0001F4F7"), "caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x93\xB7");
}

TEST(Utf16, KeepsEveryUndecodableByteAsAnEscapedUnit) {
  // Latin-1 "é", a stray continuation byte, an overlong "/", an encoded surrogate, a value above
  // U+10FFFF and a truncated "€": each bad byte becomes 0xDC00 + byte.
  EXPECT_EQ(FromUtf8("caf\xE9.txt"), std::u16string(u"caf") + char16_t(0xDCE9) + u".txt");
  EXPECT_EQ(FromUtf8("\x80"), std::u16string(1, char16_t(0xDC80)));
  EXPECT_EQ(FromUtf8("\xC0\xAF"), (std::u16string{char16_t(0xDCC0), char16_t(0xDCAF)}));
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), (std::u16string{char16_t(0xDCED), char16_t(0xDCA0), char16_t(0xDC80)}));
  EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80").size(), 4u);
  EXPECT_EQ(FromUtf8("\xE2\x82x"), (std::u16string{char16_t(0xDCE2), char16_t(0xDC82), u'x'}));
}

TEST(Utf16, EveryByteStringSurvivesTheRoundTrip) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 24);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(static_cast<std::size_t>(length(random)), '\0');
    // Mostly high bytes, so that valid and broken multi-byte sequences both occur often.
    for (char& b : bytes) b = static_cast<char>(byte(random) | (round % 2 ? 0x80 : 0));
    ASSERT_EQ(ToUtf8(FromUtf8(bytes)), bytes) << "round " << round;
    // Appended to a buffer in use, as a loop reusing one does, from a run of ASCII or not.
    std::string buffer = round % 3 ? "/folder/" : "caf\xC3\xA9/";
    const std::string before = buffer;
    AppendUtf8(buffer, FromUtf8(bytes));
    ASSERT_EQ(buffer, before + bytes) << "round " << round;
  }
}

TEST(Utf16, AnEscapedUnitAfterASupplementaryCharacterStaysAByte) {
  const std::string bytes = "\xF0\x90\x82\x80\xFF";  // U+10080 (its low surrogate is 0xDC80), then 0xFF
  EXPECT_EQ(ToUtf8(FromUtf8(bytes)), bytes);
}

TEST(Utf16, OtherLoneSurrogatesAreWrittenAsReplacementCharacters) {
  EXPECT_EQ(ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(ToUtf8(std::u16string{char16_t(0xDC10)}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace nomvarix
