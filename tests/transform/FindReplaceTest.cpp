#include "transform/FindReplace.h"

#include <memory>

#include <gtest/gtest.h>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "support/EditorFixture.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

class FindReplaceTest : public test::EditorFixture {
 protected:
  bool Find(std::u16string_view text, SearchOptions options = {}) {
    return FindNext(editor, memory, text, options, false).found;
  }
  BlockSelection Found() const { return Selection(); }

  SearchMemory memory;
};

TEST_F(FindReplaceTest, CaseFoldsOnlyWithoutMatchCase) {
  Load({u"IMG.JPG", u"photo.jpg"});
  EXPECT_TRUE(Find(u"jpg"));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 4, 7}));
  EXPECT_TRUE(Find(u"jpg", {.matchCase = true}));  // the option changed: from the top again
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 6, 9}));
  EXPECT_TRUE(Find(u"jpg", {.matchCase = true}));  // wraps around to the only match
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 6, 9}));
  EXPECT_FALSE(Find(u"JPG.", {.matchCase = true}));
  EXPECT_FALSE(Find(u""));
}

TEST_F(FindReplaceTest, WholeWordsAreBoundedByWhatIsNotALetterOrDigit) {
  Load({u"photo.jpg", u"photo_01.jpg", u"photos.jpg", u"xphoto photo"});
  const SearchOptions whole{.wholeWord = true};
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 0);
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 1);
  EXPECT_TRUE(Find(u"photo", whole));  // not photos, not xphoto: the second word of line 3
  EXPECT_EQ(Found(), (BlockSelection{3, 3, 7, 12}));
  EXPECT_TRUE(Find(u"photo", whole));
  EXPECT_EQ(Found().startLine, 0);
}

TEST_F(FindReplaceTest, FindNextGoesOnFromTheLastMatchOnTheSameLine) {
  Load({u"a-a-a", u"b"});
  Find(u"a");
  Find(u"a");
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 2, 3}));
  EXPECT_EQ(SelectedSearchText(editor), u"a");
  editor.SetSelection({0, 1, 0, 2}, {1, 2});
  EXPECT_EQ(SelectedSearchText(editor), u"");  // two lines
}

TEST_F(FindReplaceTest, ReplaceFindsAndReplacesInOnePress) {
  Load({u"cat.txt", u"dog.txt"});
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"dog", u"wolf", {}));
  EXPECT_EQ(Texts(), (Lines{u"cat.txt", u"wolf.txt"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 4}));
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"dog", u"wolf", {}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"cat.txt", u"dog.txt"}));
}

TEST_F(FindReplaceTest, ReplaceTakesTheSelectionOnlyWhenItMatches) {
  // \xDCE9 stands for the undecodable byte E9 of a name on disk.
  Load({u"photo.jpg", u"photos caf\u00E9.jpg", u"\u65E5\u8A18 Photo\xDCE9.png"});
  memory.findStart = {0, 0};  // as a mouse selection leaves it
  Block(0, 0, 0, 5);          // "photo"
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"zzz", u"Q", {}));
  EXPECT_EQ(Texts()[0], u"photo.jpg");

  Block(0, 0, 0, 5);  // not at the find start (keys selected it), but it matches: replaced in place
  memory.findStart = {2, 0};
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"PHOTO", u"\U0001F600", {}));
  EXPECT_EQ(Texts()[0], u"\U0001F600.jpg");
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 2}));

  Block(1, 1, 0, 5);  // "photo" of "photos" is no whole word: the next whole word is replaced
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"x", {.wholeWord = true}));
  EXPECT_EQ(Texts(), (Lines{u"\U0001F600.jpg", u"photos caf\u00E9.jpg", u"\u65E5\u8A18 x\xDCE9.png"}));

  Block(1, 1, 7, 11);  // "caf\u00E9" differs from "CAF\u00C9" beyond ASCII: the case folding is ASCII-only
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"CAF\u00C9", u"tea", {}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"CAF\u00E9", u"tea", {}));
  EXPECT_EQ(Texts()[1], u"photos tea.jpg");
}

TEST_F(FindReplaceTest, RepeatedReplaceWalksThroughTheMatches) {
  Load({u"a\u65E5a\U0001F600a.txt", u"ba"});
  const auto replaceByE = [&] { return ReplaceCurrent(editor, memory, u"a", u"\u00E9", {}); };
  EXPECT_TRUE(replaceByE());
  EXPECT_TRUE(replaceByE());  // goes on after the inserted text, not into it again
  EXPECT_EQ(Texts()[0], u"\u00E9\u65E5\u00E9\U0001F600a.txt");
  EXPECT_TRUE(replaceByE());
  EXPECT_TRUE(replaceByE());
  EXPECT_EQ(Texts(), (Lines{u"\u00E9\u65E5\u00E9\U0001F600\u00E9.txt", u"b\u00E9"}));
  EXPECT_FALSE(replaceByE());

  // A replacement that matches again is passed over, not replaced by itself over and over.
  Load({u"a", u"a-a"});
  memory = {};
  const auto replaceByUpperA = [&] { return ReplaceCurrent(editor, memory, u"a", u"A", {}); };
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_TRUE(replaceByUpperA());
  EXPECT_EQ(Texts(), (Lines{u"A", u"A-A"}));

  // A selected match replaced in place: the next press goes on from there, not from the top.
  Load({u"photo 1", u"photo 2", u"photo 3"});
  memory = {};
  memory.findStart = {1, 0};
  Block(1, 1, 0, 5);
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"Q", {}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"photo", u"Q", {}));
  EXPECT_EQ(Texts(), (Lines{u"photo 1", u"Q 2", u"Q 3"}));
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepAndEndsWhenTheReplacementMatches) {
  Load({u"banana"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"a", u"o", {}).count, 3u);
  EXPECT_EQ(Texts(), (Lines{u"bonono"}));
  // A plain caret at the start of the last replacement.
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 5, 5}));
  EXPECT_EQ(editor.Caret(), (TextPos{0, 5}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"banana"}));
  EXPECT_FALSE(editor.CanUndo());

  Load({u"a.jpg", u"b.JPG", u"c.png"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"jpg", u"JPG", {}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"a.JPG", u"b.JPG", u"c.png"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"x", u"y", {}).count, 0u);

  Load({u"\u65E5\u8A18\U0001F600\u65E5\u8A18\xDCE9"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"\u65E5\u8A18", u"\u00E9", {.matchCase = true}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"\u00E9\U0001F600\u00E9\xDCE9"}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 3, 3}));
  EXPECT_EQ(ReplacedMessage(2), u"Replaced 2 occurrence(s)");
}

TEST_F(FindReplaceTest, RegularExpressionsReplaceWithTheirGroupsInOneUndoStep) {
  const SearchOptions regex{.matchCase = true, .regex = true};
  Load({u"12_ab.jpg", u"x 7_\u00E9t\u00E9", u"z none"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\d+)_(\\w+)", u"$2-$1", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"ab-12.jpg", u"x \u00E9t\u00E9-7", u"z none"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 2, 2}));
  editor.Undo();
  EXPECT_EQ(Texts(), (Lines{u"12_ab.jpg", u"x 7_\u00E9t\u00E9", u"z none"}));
  EXPECT_FALSE(editor.CanUndo());

  // Without "Match Case" the pattern is caseless beyond ASCII too.
  Load({u"CAF\u00C9 caf\u00E9s", u"Caf\u00E9"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(?<w>caf\u00E9)", u"[${w}]", {.regex = true}).count, 3u);
  EXPECT_EQ(Texts(), (Lines{u"[CAF\u00C9] [caf\u00E9]s", u"[Caf\u00E9]"}));
  // "Whole Word" keeps a pattern to whole words.
  Load({u"CAF\u00C9 caf\u00E9s", u"Caf\u00E9"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"caf\u00E9", u"tea", {.wholeWord = true, .regex = true}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"tea caf\u00E9s", u"tea"}));

  // Replace takes a selected match and walks on through the others.
  Load({u"a1b22", u"c333"});
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"<$0>", regex));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"#", regex));
  EXPECT_EQ(Texts(), (Lines{u"a<1>b#", u"c333"}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 5, 6}));
  EXPECT_TRUE(ReplaceCurrent(editor, memory, u"\\d+", u"#", regex));
  EXPECT_EQ(Texts()[1], u"c#");
}

TEST_F(FindReplaceTest, EmptyRegularExpressionMatchesMoveOnByOneCharacter) {
  const SearchOptions regex{.regex = true};
  Load({u"ab", u"\U0001F600"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"x*", u"-", regex).count, 5u);
  EXPECT_EQ(Texts(), (Lines{u"-a-b-", u"-\U0001F600-"}));  // never inside the pair
  Load({u"ab", u"cd"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"^", u"0", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"0ab", u"0cd"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"$", u"", regex).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"0ab", u"0cd"}));

  // Find Next selects an empty match as a caret and goes on to the next one, then wraps.
  memory = {};
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 0}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 3, 3}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 0}));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_TRUE(Find(u"\\b", regex));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 0, 0}));
}

TEST_F(FindReplaceTest, RegularExpressionsKeepUndecodableBytesAndPairsIntact) {
  // \xDCE9 and \xDC80 stand for undecodable bytes of names on disk.
  Load({u"1a\xDCE9\U0001F600b.jpg", u"2\xDC80\U0001F600\U0001F600", u"3\u65E5\xDCE9x"});
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\W)(b|$)", u"<$1>$2", {.regex = true}).count, 2u);
  EXPECT_EQ(Texts(), (Lines{u"1a\xDCE9<\U0001F600>b.jpg", u"2\xDC80\U0001F600<\U0001F600>", u"3\u65E5\xDCE9x"}));
  EXPECT_EQ(ReplaceAll(editor, memory, u"([^<>]+)", u"($1)", {.regex = true}).count, 6u);
  EXPECT_EQ(Texts(), (Lines{u"(1a\xDCE9)<(\U0001F600)>(b.jpg)", u"(2\xDC80\U0001F600)<(\U0001F600)>",
                            u"(3\u65E5\xDCE9x)"}));
}

TEST_F(FindReplaceTest, APatternThatDoesNotCompileChangesNothing) {
  const SearchOptions regex{.regex = true};
  Load({u"a(b", u"c"});
  Block(1, 1, 0, 1);
  EXPECT_EQ(PatternError(u"a(b", regex), u"Invalid regular expression: missing closing parenthesis at position 3");
  EXPECT_EQ(PatternError(u"a(b", {}), std::nullopt);
  EXPECT_EQ(PatternError(u"a\\(b", regex), std::nullopt);
  EXPECT_FALSE(Find(u"a(b", regex));
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"a(b", u"x", regex));
  EXPECT_EQ(ReplaceAll(editor, memory, u"a(b", u"x", regex).count, 0u);
  EXPECT_EQ(Texts(), (Lines{u"a(b", u"c"}));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 1}));
  EXPECT_FALSE(editor.CanUndo());

  // The same text found as plain text, then as a pattern: the changed box starts from the top.
  EXPECT_TRUE(Find(u"c"));
  EXPECT_TRUE(Find(u"c", regex));
  EXPECT_EQ(Found(), (BlockSelection{1, 1, 0, 1}));
  EXPECT_TRUE(memory.lastRegex);
}

TEST_F(FindReplaceTest, FindNextGoesOnAfterTheEndOfARegularExpressionMatch) {
  struct Case {
    std::u16string_view text;
    bool regex;
    Lines lines;
    std::vector<BlockSelection> found;  ///< what each press of Find Next selects
  };
  const Case cases[] = {
      {u"\\d+", true, {u"IMG_12345.JPG", u"x7"}, {{0, 0, 4, 9}, {1, 1, 1, 2}, {0, 0, 4, 9}}},
      {u"\\d*", true, {u"a12b"}, {{0, 0, 0, 0}, {0, 0, 1, 3}, {0, 0, 3, 3}, {0, 0, 4, 4}, {0, 0, 0, 0}}},
      // An empty match moves on by a whole character, never into a pair.
      {u"x*", true, {u"\U0001F600a"}, {{0, 0, 0, 0}, {0, 0, 2, 2}, {0, 0, 3, 3}, {0, 0, 0, 0}}},
      {u"\u65E5\u8A18", true, {u"\u65E5\u8A18\u65E5\u8A18"}, {{0, 0, 0, 2}, {0, 0, 2, 4}, {0, 0, 0, 2}}},
      {u"aa", true, {u"aaa"}, {{0, 0, 0, 2}, {0, 0, 0, 2}}},
      // Plain text still finds the matches that overlap.
      {u"aa", false, {u"aaa"}, {{0, 0, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 2}}},
  };
  for (const Case& c : cases) {
    Load(c.lines);
    memory = {};
    for (const BlockSelection& expected : c.found) {
      EXPECT_TRUE(Find(c.text, {.regex = c.regex}));
      EXPECT_EQ(Found(), expected) << ToUtf8(c.text) << " on " << ToUtf8(c.lines[0]);
    }
  }
}

TEST_F(FindReplaceTest, LinesWhereThePatternHitsALimitAreReportedAndLeftAsTheyWere) {
  // Nested quantifiers backtrack without end on a long run of "a" that ends without a "b".
  const std::u16string costly = u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac ab";
  const SearchOptions regex{.regex = true};
  Load({costly, u"ab.txt", u"b ab"});
  const ReplaceAllOutcome all = ReplaceAll(editor, memory, u"(a+)+b", u"X", regex);
  EXPECT_EQ(all.count, 2u);
  EXPECT_EQ(all.unsearched, (std::vector<UnsearchedLine>{{0, RegexFailure::TooManySteps}}));
  EXPECT_EQ(Texts(), (Lines{costly, u"X.txt", u"b X"}));
  EXPECT_EQ(ReplaceAllMessage(all),
            u"Replaced 2 occurrence(s)\n\n1 line(s) could not be searched to the end:\nline 1: the pattern backtracks "
            u"too much there (the match limit was reached)\nThose lines were left as they were.");

  // Find Next passes over such a line, and says so when it finds nothing else.
  Load({costly, u"x.txt"});
  memory = {};
  const SearchOutcome find = FindNext(editor, memory, u"(a+)+b", regex, false);
  EXPECT_FALSE(find.found);
  EXPECT_EQ(SearchMessage(u"(a+)+b", find),
            u"Cannot find \"(a+)+b\"\n\n1 line(s) could not be searched to the end:\nline 1: the pattern backtracks too "
            u"much there (the match limit was reached)");
  EXPECT_EQ(SearchMessage(u"x", {.found = true}), u"");
  EXPECT_EQ(ReplaceAllMessage({.count = 3, .cancelled = true}), u"");

  // The lines are listed by reason, at most ten of each.
  std::vector<UnsearchedLine> many;
  for (std::int32_t line = 0; line < 12; ++line) many.push_back({line, RegexFailure::TooManySteps});
  many.push_back({40, RegexFailure::TooDeep});
  EXPECT_EQ(UnsearchedMessage(many),
            u"13 line(s) could not be searched to the end:\nlines 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 and 2 more: the pattern "
            u"backtracks too much there (the match limit was reached)\nline 41: the pattern nests too deeply there (the "
            u"depth or memory limit was reached)");
  EXPECT_EQ(UnsearchedMessage({}), u"");
}

TEST_F(FindReplaceTest, ARefusedReplacementChangesNothing) {
  const SearchOptions regex{.regex = true};
  Load({u"a1.txt", u"b2.txt"});
  Block(0, 0, 1, 2);
  EXPECT_EQ(ReplacementError(u"(\\d)", u"$2", regex), u"Invalid replacement: the pattern has no group 2 at position 0");
  EXPECT_EQ(ReplacementError(u"(\\d)", u"$2", {}), std::nullopt);  // plain text: the $ is a $
  EXPECT_EQ(ReplacementError(u"(\\d", u"$2", regex), std::nullopt);  // PatternError tells
  EXPECT_EQ(ReplacementError(u"(\\d)", u"<$1>", regex), std::nullopt);
  EXPECT_FALSE(ReplaceCurrent(editor, memory, u"(\\d)", u"${1", regex));
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\d)", u"$", regex).count, 0u);
  EXPECT_EQ(Texts(), (Lines{u"a1.txt", u"b2.txt"}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 1, 2}));
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(ReplaceAll(editor, memory, u"(\\d)", u"$", {}).count, 0u);  // plain text finds no "(\d)"
  EXPECT_EQ(ReplaceAll(editor, memory, u"1", u"$", {}).count, 1u);
  EXPECT_EQ(Texts()[0], u"a$.txt");
}

TEST_F(FindReplaceTest, UndecodableBytesAreCharactersThatGroupsCopyBackAsTheSameBytes) {
  // \xDCxx stands for the undecodable byte xx of a name on disk; \uE0xx and \uF7xx are real
  // private-use characters, and \uFFFD a real replacement character.
  struct Case {
    std::u16string_view pattern;
    std::u16string_view replacement;
    std::u16string_view name;
    std::u16string_view expected;
  };
  const Case cases[] = {
      {u"[^a-z]", u"_", u"a\xDCFF""b.txt", u"a_b_txt"},
      {u"^(.*)\\.(\\w+)$", u"$2:$1", u"a\xDCFF""b.txt", u"txt:a\xDCFF""b"},
      {u"(.)", u"$1$1", u"\xDC80\uE080", u"\xDC80\xDC80\uE080\uE080"},
      {u"[\\x{E000}-\\x{F8FF}]", u"P", u"\uF7E9\xDCE9", u"P\xDCE9"},
      {u"\\x{FFFD}", u"?", u"\uFFFD\xDCE9x", u"??x"},
      {u".(.)", u"$1", u"\xDCE9\U0001F600", u"\U0001F600"},
      {u"(\\W)", u"[$1]", u"\xD800x", u"[\xD800]x"},
  };
  for (const Case& c : cases) {
    Load({std::u16string(c.name)});
    ReplaceAll(editor, memory, c.pattern, c.replacement, {.regex = true});
    EXPECT_EQ(Texts()[0], c.expected) << ToUtf8(c.pattern) << " on " << ToUtf8(c.name);
  }
  Load({u"a\xDCE9"});
  memory = {};
  EXPECT_TRUE(Find(u"\\W", {.regex = true}));
  EXPECT_EQ(Found(), (BlockSelection{0, 0, 1, 2}));
}

// ---- Replace All against the library's own global substitution ----------------------------------

/// `text` with each lone surrogate (an undecodable byte) as U+FFFD, the character the patterns see.
std::u16string BytesAsReplacementChars(std::u16string_view text) {
  std::u16string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const bool pairStart = IsHighSurrogate(out[i]) && i + 1 < out.size() && IsLowSurrogate(out[i + 1]);
    if (pairStart) {
      ++i;
    } else if (IsHighSurrogate(out[i]) || IsLowSurrogate(out[i])) {
      out[i] = u'\uFFFD';
    }
  }
  return out;
}

struct SubstitutionCase {
  std::u16string_view pattern;
  std::u16string_view replacement;
  std::u16string_view name;
  bool caseless = false;
  bool wholeWord = false;
};

/// pcre2_substitute with PCRE2_SUBSTITUTE_GLOBAL, compiled as the program compiles its patterns.
std::u16string LibrarySubstitution(const SubstitutionCase& c) {
  const auto units = [](std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR16>(text.data()); };
  const std::unique_ptr<pcre2_compile_context_16, decltype(&pcre2_compile_context_free_16)> context(
      pcre2_compile_context_create_16(nullptr), &pcre2_compile_context_free_16);
  if (c.wholeWord) pcre2_set_compile_extra_options_16(context.get(), PCRE2_EXTRA_MATCH_WORD);
  int error = 0;
  PCRE2_SIZE offset = 0;
  const std::uint32_t options = PCRE2_UTF | PCRE2_UCP | (c.caseless ? PCRE2_CASELESS : 0u);
  const std::unique_ptr<pcre2_code_16, decltype(&pcre2_code_free_16)> code(
      pcre2_compile_16(units(c.pattern), c.pattern.size(), options, &error, &offset, context.get()), &pcre2_code_free_16);
  if (!code) return u"(does not compile)";
  const std::u16string subject = BytesAsReplacementChars(c.name);
  std::u16string out(4096, u'\0');
  PCRE2_SIZE length = out.size();
  const int result = pcre2_substitute_16(code.get(), units(subject), subject.size(), 0,
                                         PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_UNSET_EMPTY, nullptr, nullptr,
                                         units(c.replacement), c.replacement.size(),
                                         reinterpret_cast<PCRE2_UCHAR16*>(out.data()), &length);
  if (result < 0) return u"(error " + FromUtf8(std::to_string(result)) + u")";
  out.resize(length);
  return out;
}

TEST_F(FindReplaceTest, RegexReplaceAllGivesWhatTheLibrarysGlobalSubstitutionGives) {
  // \xDCE9 and \xDCFF stand for undecodable bytes of names on disk.
  const SubstitutionCase cases[] = {
      // anchors
      {u"^.", u"", u"IMG_0001.jpg"},
      {u"^x", u"", u"xxx_y.txt"},
      {u"$", u"!", u"a.txt"},
      {u"^", u">", u"abc"},
      {u"\\.jpg$", u".jpeg", u"a.jpg.jpg"},
      {u"\\A\\w", u"_", u"abc def"},
      {u"\\z", u"#", u"abc"},
      {u"^|$", u"|", u"ab"},
      {u"^\\s+|\\s+$", u"", u"  name  .txt  "},
      // word boundaries
      {u"\\b(\\w)", u"[$1]", u"IMG_0001.jpg"},
      {u"\\b", u"|", u"ab cd.e"},
      {u"\\B", u"-", u"abc d"},
      {u"\\bthe\\b", u"THE", u"The theme of the day", true},
      {u"\\w+\\b", u"<$0>", u"caf\u00E9 au lait.jpg"},
      {u"photo", u"P", u"photo photos xphoto photo-1", false, true},
      {u"\\d+", u"#", u"a1 22b 333", false, true},
      {u"caf\u00E9", u"tea", u"CAF\u00C9 caf\u00E9s caf\u00E9", true, true},
      // look-arounds
      {u"(?<=a)b", u"", u"abbb.txt"},
      {u"(?=\\d)", u"#", u"a1b22"},
      {u"(?<!\\d)\\d", u"N", u"a12 3"},
      {u"\\d(?!\\d)", u"X", u"a12 3"},
      {u"(?<=^|_)\\w", u"$0$0", u"ab_cd"},
      {u"(?<=\\.)\\w+$", u"png", u"photo.JPG"},
      {u"\\.(?=[^.]*$)", u"_", u"a.b.c"},
      // empty matches
      {u"x*", u"-", u"abc"},
      {u"x*", u"-", u"xab"},
      {u"a*", u"<$0>", u"baaac"},
      {u"\\d*", u"#", u"a12b"},
      {u"(?:)", u".", u"\u65E5\u8A18"},
      {u"a|", u"_", u"aba"},
      {u"x*", u"-", u"\U0001F600a\U0001F600"},
      {u"\\b|x", u"^", u"x y"},
      // groups by number
      {u"(\\d+)_(\\w+)", u"$2-$1", u"12_ab.jpg"},
      {u"(\\w+)\\.(\\w+)$", u"${2}.${1}", u"photo.jpg"},
      {u"^(.*)\\.(\\w+)$", u"$2_$1", u"a.b.c.txt"},
      {u"(a)|(b)", u"[$1|$2]", u"abc"},
      {u"(x)?y", u"<$1>", u"yxy"},
      {u"(\\w)(\\w)", u"$2$1", u"abcde"},
      {u"(((a)b)c)", u"$3$2$1$0", u"abcabc"},
      {u"\\d+", u"[$0]", u"IMG_12345.JPG"},
      {u"\\d+", u"<${0}>", u"a1b22"},
      {u"\\d", u"$$$0", u"a1"},
      {u"(.)\\1", u"$1", u"aabbcd"},
      // groups by name
      {u"(?<year>\\d{4})-(?<month>\\d\\d)", u"${month}.${year}", u"2024-05 trip"},
      {u"(?J)(?<n>a)|(?<n>b)", u"[${n}]", u"abc"},
      {u"(?J)(?:(?<x>\\d+)|(?<x>[a-z]+))", u"<${x}>", u"ab12"},
      {u"(?<first>\\w)(?<rest>\\w*)", u"${rest}${first}", u"hello world"},
      // caseless beyond ASCII
      {u"caf\u00E9", u"tea", u"CAF\u00C9 caf\u00E9 Caf\u00E9", true},
      {u"\u00C9", u"E", u"\u00E9lan \u00C9cole", true},
      {u"stra\u00DFe", u"street", u"STRA\u1E9EE Stra\u00DFe", true},
      {u"\u1E9E", u"ss", u"\u00DF\u1E9E", true},
      {u"(\u00E9+)", u"[$1]", u"\u00C9\u00E9\u00C9x", true},
      {u"\\p{Lu}", u"_", u"\u00C9cole\u00C0"},
      // emoji
      {u"\U0001F600", u":)", u"a\U0001F600b\U0001F600"},
      {u".", u"<$0>", u"\U0001F600x"},
      {u"\\X", u"#", u"\U0001F44D\U0001F3FDx"},
      {u"[\U0001F600-\U0001F602]", u"*", u"\U0001F601x\U0001F602"},
      {u"(\\p{So})", u"[$1]", u"a\U0001F600b"},
      // CJK
      {u"\u65E5\u8A18", u"diary", u"\u65E5\u8A18_\u65E5\u8A18.txt"},
      {u"\\p{Han}+", u"<$0>", u"\u65C5\u884C2024\u5199\u771F.jpg"},
      {u"(?<=\u8A18)\\d", u"#", u"\u65E5\u8A181\u8A182"},
      {u"[^\\x{00}-\\x{7F}]", u"_", u"\u65E5\u672C\u8A9Eabc"},
      {u"(\\w+) (\\w+)", u"$2 $1", u"\u5199\u771F 2024"},
      // undecodable bytes
      {u".", u"x", u"a\xDCE9" u"b"},
      {u"[^a-z]", u"_", u"a\xDCE9" u"b.txt"},
      {u"^(.*)\\.(\\w+)$", u"$2.$1", u"a\xDCFF""b.txt"},
      {u"\\W+", u"-", u"\xDCFF""ab\xDCE9\xDCE9"},
      {u"\\b\\w", u"[$0]", u"x\xDCE9y"},
      // the rest
      {u"a+", u"A", u"AaA bab", true},
      {u"\\s+", u"_", u"a  b\tc"},
      {u"(?i)jpg$", u"png", u"x.JPG"},
      {u"\\d{2,}", u"#", u"1 22 333"},
  };
  ASSERT_GE(std::size(cases), 60u);
  for (const SubstitutionCase& c : cases) {
    Load({std::u16string(c.name)});
    const SearchOptions options{.matchCase = !c.caseless, .wholeWord = c.wholeWord, .regex = true};
    ReplaceAll(editor, memory, c.pattern, c.replacement, options);
    EXPECT_EQ(BytesAsReplacementChars(Texts()[0]), LibrarySubstitution(c))
        << ToUtf8(c.pattern) << " -> " << ToUtf8(c.replacement) << " on " << ToUtf8(c.name);
  }
}

}  // namespace
}  // namespace nomvarix
