#include "transform/MetadataPattern.h"

#include <gtest/gtest.h>

#include <chrono>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

FileClock::time_point Utc(int y, unsigned mo, unsigned d, int h, int mi, int s) {
  using namespace std::chrono;
  return sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{s};
}

const MetadataRecord kSong{{u"Artist", std::u16string(u"  AC/DC\t")},
                           {u"Title", std::u16string(u"日記 😀 \u0007Intro?")},
                           {u"Track", std::uint64_t{3}},
                           {u"Duration", std::uint64_t{3725}},
                           {u"DateTaken", Utc(2019, 7, 14, 16, 5, 9)},
                           {u"FNumber", 2.8},
                           {u"FocalLength", 50.0},
                           {u"Exposure", 0.004},
                           {u"Name", std::u16string(u"\u00e9t\u00e9")}};

TEST(MetadataPatternTest, CleaningMakesValuesFitForNames) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"  AC/DC\t", u"AC_DC"},
      {u"a:b?c*d\"e<f>g|h\\i", u"a_b_c_d_e_f_g_h_i"},
      {u"ab\u0001\u007F\u009Fc", u"abc"},
      {u"\u3000 日記 \u00a0", u"日記"},
      {u"😀", u"😀"},
      {u"x\xDC80y", u"x_y"},  // an undecodable byte
      {u"\xD83D", u"_"},      // half an emoji
      {u" \t\n", u""},
  };
  for (const auto& [value, clean] : cases) EXPECT_EQ(CleanMetadataValue(value), clean) << std::u16string(value).size();
}

TEST(MetadataPatternTest, FieldsExpandByTheirKindAndFormat) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"{Track:2} - {Artist} - {Title}", u"03 - AC_DC - 日記 😀 Intro_"},
      {u"{DateTaken:yyyy-MM-dd}_{Name}", u"2019-07-14_\u00e9t\u00e9"},
      {u"{DateTaken:yyMMdd HHmmss}", u"190714 160509"},
      {u"{DateTaken:dd.MM.yyyy}", u"14.07.2019"},
      {u"{DateTaken:yyyy/MM}", u"2019_07"},
      {u"{DateTaken}", u"2019-07-14"},
      {u"f{FNumber} {FocalLength}mm {Exposure}s", u"f2.8 50mm 1-250s"},
      {u"{Duration}", u"1-02-05"},
      {u"{Track:04}{Track:x}", u"00033"},
      {u"{Unknown} {Track", u"{Unknown} {Track"},
      {u"{Track}{}", u"3{}"},
  };
  for (const auto& [pattern, text] : cases) {
    EXPECT_EQ(ExpandMetadataPattern(pattern, kSong, std::nullopt), std::u16string(text)) << ToUtf8(pattern);
  }
}

TEST(MetadataPatternTest, AMissingFieldLeavesTheLineOrTakesTheFallback) {
  EXPECT_EQ(ExpandMetadataPattern(u"{Track} {Album}", kSong, std::nullopt), std::nullopt);
  EXPECT_EQ(ExpandMetadataPattern(u"{Track} {Album}", kSong, u" un/known "), u"3 un_known");
  EXPECT_EQ(ExpandMetadataPattern(u"{Album}", {}, u""), u"");
  EXPECT_EQ(ExpandMetadataPattern(u"plain", {}, std::nullopt), u"plain");
}

TEST(MetadataPatternTest, OnlyTheReadersTheFieldsNeedAreAsked) {
  const auto needs = [](std::u16string_view pattern) {
    const MetadataNeeds n = NeedsOf(pattern);
    return std::string(n.photo ? "P" : "") + (n.audio ? "A" : "") + (n.file ? "F" : "");
  };
  EXPECT_EQ(needs(u"{DateTaken:yyyy}_{Model}"), "P");
  EXPECT_EQ(needs(u"{Track:2} - {Title}"), "A");
  EXPECT_EQ(needs(u"{Name}{Size}{Modified}"), "F");
  EXPECT_EQ(needs(u"{ISO}{Year}{Extension}"), "PAF");
  EXPECT_EQ(needs(u"{iso}{Nothing}"), "");
}

}  // namespace
}  // namespace nomvarix
