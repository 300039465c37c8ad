#include "transform/RegexPattern.h"

#include <gtest/gtest.h>

#include "text/Utf16.h"

namespace nomvarix {
namespace {

/// Throws, and so fails the test, when the pattern does not compile.
RegexPattern Compiled(std::u16string_view pattern, bool matchCase = true) {
  return std::get<RegexPattern>(RegexPattern::Compile(pattern, matchCase));
}

/// The first match's replacement, or "-" when nothing matches.
std::u16string Replaced(std::u16string_view pattern, std::u16string_view line, std::u16string_view replacement) {
  const RegexPattern regex = Compiled(pattern);
  const auto match = regex.Find(line, 0).match;
  if (!match) return u"-";
  const auto read = regex.ReadReplacement(replacement);
  if (const auto* error = std::get_if<RegexReplacement::Error>(&read)) return InvalidReplacementMessage(*error);
  return std::get<RegexReplacement>(read).Expand(line, *match);
}

/// The matched text from `from` on, or "-" when nothing matches.
std::u16string Matched(const RegexPattern& regex, std::u16string_view line, std::size_t from = 0) {
  const auto match = regex.Find(line, from).match;
  return match ? std::u16string(line.substr(match->start, match->end - match->start)) : u"-";
}

TEST(RegexPatternTest, ReplacementsNameGroupsByNumberAndName) {
  EXPECT_EQ(Replaced(u"(\\d+)_(\\w+)", u"12_ab", u"$2-$1"), u"ab-12");
  EXPECT_EQ(Replaced(u"(?<year>\\d{4})-(?<month>\\d\\d)", u"2024-05", u"${month}.${year}"), u"05.2024");
  EXPECT_EQ(Replaced(u"(a)", u"a", u"${1}0 $$1 $$"), u"a0 $1 $");
  // $10 is group 10 only when there is one; otherwise group 1 and a literal 0.
  EXPECT_EQ(Replaced(u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", u"abcdefghij", u"$10|$1"), u"j|a");
  EXPECT_EQ(Replaced(u"(a)", u"a", u"$10"), u"a0");
  // A group that took no part is empty; backslashes are plain text.
  EXPECT_EQ(Replaced(u"(a)|(b)", u"b", u"[$1][$2]"), u"[][b]");
  EXPECT_EQ(Replaced(u"(a)", u"a", u"\\1 \\n"), u"\\1 \\n");
}

TEST(RegexPatternTest, ReplacementsTakeTheWholeMatchAndRefuseReferencesToNothing) {
  struct Case {
    std::u16string_view pattern;
    std::u16string_view line;
    std::u16string_view replacement;
    std::u16string_view expected;  ///< the replacement of the first match, or why it is refused
  };
  const Case cases[] = {
      {u"(a)(b)", u"ab", u"$0|${0}|$2$1", u"ab|ab|ba"},
      {u"\\d+", u"x12", u"<$0>", u"<12>"},
      {u"(a)", u"a", u"$100", u"a00"},  // neither $100 nor $10: $1 and two zeros
      {u"(a)", u"a", u"${01}$$$$", u"a$$"},
      {u"(?J)(?<n>a)|(?<n>b)", u"b", u"${n}${n}", u"bb"},
      {u"(?J)(?<n>a)|(?<n>b)", u"a", u"[${n}]", u"[a]"},
      {u"(?<n>a)(?<m>b)?", u"a", u"[${m}]", u"[]"},
      {u"(a)", u"a", u"$2", u"Invalid replacement: the pattern has no group 2 at position 0"},
      {u"a", u"a", u"x$1", u"Invalid replacement: the pattern has no group 1 at position 1"},
      {u"(a)", u"a", u"x$", u"Invalid replacement: \"$\" names no group (write $$ for a dollar sign) at position 1"},
      {u"(a)", u"a", u"$*", u"Invalid replacement: \"$\" names no group (write $$ for a dollar sign) at position 0"},
      {u"(a)", u"a", u"$name", u"Invalid replacement: \"$\" names no group (write $$ for a dollar sign) at position 0"},
      {u"(a)", u"a", u"ab${1", u"Invalid replacement: \"${\" without a closing \"}\" at position 2"},
      {u"(a)", u"a", u"${x}", u"Invalid replacement: the pattern has no group \"x\" at position 0"},
      {u"(a)", u"a", u"${}", u"Invalid replacement: the pattern has no group \"\" at position 0"},
      {u"(a)", u"a", u"${2}", u"Invalid replacement: the pattern has no group \"2\" at position 0"},
      {u"(a)", u"a", u"$1${1:+x:y}", u"Invalid replacement: the pattern has no group \"1:+x:y\" at position 2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Replaced(c.pattern, c.line, c.replacement), c.expected) << ToUtf8(c.replacement);
  }
}

TEST(RegexPatternTest, CaselessMatchingFollowsUnicode) {
  const RegexPattern cafe = Compiled(u"caf\u00C9", false);
  EXPECT_EQ(Matched(cafe, u"un caf\u00E9"), u"caf\u00E9");
  EXPECT_EQ(Matched(Compiled(u"caf\u00C9", true), u"un caf\u00E9"), u"-");
  // ß and capital ẞ are one letter in two cases; the library does not fold ß to "ss".
  EXPECT_EQ(Matched(Compiled(u"stra\u00DFe", false), u"STRA\u1E9EE"), u"STRA\u1E9EE");
  EXPECT_EQ(Matched(Compiled(u"stra\u00DFe", false), u"strasse"), u"-");
  // \w takes letters of every script.
  EXPECT_EQ(Matched(Compiled(u"\\w+"), u"\u65E5\u8A18-x"), u"\u65E5\u8A18");
}

TEST(RegexPatternTest, LoneSurrogatesAreOneCharacterEach) {
  // \xDCE9 stands for the undecodable byte E9 of a name on disk.
  const std::u16string line = u"a\xDCE9\U0001F600b\xDC80";
  EXPECT_EQ(Matched(Compiled(u"b"), line), u"b");
  EXPECT_EQ(Matched(Compiled(u"."), line, 2), u"\U0001F600");  // the emoji as one character
  EXPECT_EQ(Matched(Compiled(u"a.\\W"), line), u"a\xDCE9\U0001F600");
  // A start between the halves of a pair moves past the pair.
  EXPECT_EQ(Matched(Compiled(u"."), line, 3), u"b");
  EXPECT_EQ(Matched(Compiled(u"$"), line, line.size()), u"");
  EXPECT_EQ(Matched(Compiled(u"x"), line, line.size() + 1), u"-");
}

TEST(RegexPatternTest, APatternThatDoesNotCompileTellsWhyAndWhere) {
  const auto compiled = RegexPattern::Compile(u"ab(c", true);
  const auto* error = std::get_if<RegexPattern::Error>(&compiled);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(InvalidRegexMessage(*error), u"Invalid regular expression: missing closing parenthesis at position 4");
  EXPECT_TRUE(std::holds_alternative<RegexPattern::Error>(RegexPattern::Compile(u"\\", true)));
}

}  // namespace
}  // namespace nomvarix
