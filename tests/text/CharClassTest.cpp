#include "text/CharClass.h"

#include <clocale>

#include <gtest/gtest.h>

namespace nomvarix {
namespace {

struct Classes {
  bool space, upper, digit, alnum;
  bool operator==(const Classes&) const = default;
};

Classes ClassesOf(char16_t u) { return {IsWhiteSpace(u), IsUpperCase(u), IsDigit(u), IsAlphanumeric(u)}; }

TEST(CharClass, FollowsTheUnicodeDatabase) {
  for (char16_t space : {u' ', u'\t', u'\n', u'\r', u'\u00A0', u'\u2003', u'\u3000', u'\u2028'}) {
    EXPECT_TRUE(IsWhiteSpace(space)) << int(space);
  }
  EXPECT_FALSE(IsWhiteSpace(u'_'));
  EXPECT_FALSE(IsWhiteSpace(u'\u200B'));  // zero width space is no white space

  EXPECT_TRUE(IsUpperCase(u'A'));
  EXPECT_TRUE(IsUpperCase(u'É'));
  EXPECT_TRUE(IsUpperCase(u'Σ'));
  EXPECT_FALSE(IsUpperCase(u'é'));
  EXPECT_FALSE(IsUpperCase(u'1'));

  EXPECT_TRUE(IsDigit(u'7'));
  EXPECT_TRUE(IsDigit(u'\u0663'));  // Arabic-Indic three
  EXPECT_FALSE(IsDigit(u'x'));

  EXPECT_TRUE(IsAlphanumeric(u'ß'));
  EXPECT_TRUE(IsAlphanumeric(u'名'));
  EXPECT_TRUE(IsAlphanumeric(u'\u0663'));
  EXPECT_FALSE(IsAlphanumeric(u'-'));
  EXPECT_FALSE(IsAlphanumeric(u' '));
}

TEST(CharClass, RightToLeftLettersDigitsAndDirectionMarksMoveInBidiLayout) {
  for (const char16_t moves : {u'\u05E9', u'\u05DD', u'\u0627', u'\u0661', u'\u200F', u'\u202E', u'\u2067'}) {
    EXPECT_TRUE(MovesInBidiLayout(moves)) << static_cast<int>(moves);
  }
  for (const char16_t stays : {u'a', u'1', u' ', u'.', u'\u00E9', u'\u65E5', u'\u0416', u'\xDC80'}) {
    EXPECT_FALSE(MovesInBidiLayout(stays)) << static_cast<int>(stays);
  }
}

TEST(CharClass, SurrogatesAreInNoClass) {
  EXPECT_EQ(ClassesOf(0xD83D), (Classes{false, false, false, false}));
  EXPECT_EQ(ClassesOf(0xDCE9), (Classes{false, false, false, false}));
}

TEST(CharClass, AnswersDoNotChangeWithTheProcessLocale) {
  const char16_t samples[] = {u'a', u'Ä', u'\u00A0', u'٣', u'\u3000', u'ÿ', u'Ω'};
  std::setlocale(LC_ALL, "C");
  std::vector<Classes> inC;
  for (char16_t u : samples) inC.push_back(ClassesOf(u));
  for (const char* locale : {"C.UTF-8", "POSIX", ""}) {
    if (!std::setlocale(LC_ALL, locale)) continue;
    for (std::size_t i = 0; i < std::size(samples); ++i) EXPECT_EQ(ClassesOf(samples[i]), inC[i]) << locale;
  }
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace nomvarix
