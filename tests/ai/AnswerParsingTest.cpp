#include "ai/AnswerParsing.h"

#include <thread>

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using Pairs = std::vector<RenamePair>;

std::u16string Answer(bool commaAfterLast) {
  return u"{\n  \"filenames\": [\n"
         u"    {\n      \"original\": \"a.txt\",\n      \"renamed\": \"A.txt\"\n    },\n"
         u"    {\n      \"original\": \"b.txt\",\n      \"renamed\": \"B.txt\"\n    }" +
         std::u16string(commaAfterLast ? u"," : u"") + u"\n  ]\n}";
}

TEST(AnswerParsingTest, TheScanFollowsTheCommas) {
  EXPECT_EQ(ScanAnswer(Answer(true)), (Pairs{{u"a.txt", u"A.txt"}, {u"b.txt", u"B.txt"}}));
  EXPECT_EQ(ScanAnswer(Answer(false)), (Pairs{{u"a.txt", u"A.txt"}}));  // no comma after the last value
  EXPECT_EQ(ScanAnswer(u"Here you are:\n'''\n" + Answer(true) + u"\n'''"), ScanAnswer(Answer(true)));
  EXPECT_TRUE(ScanAnswer(u"no list here {\"original\": \"x\", \"renamed\": \"y\",}").empty());
  // A comma inside a name cuts it.
  EXPECT_EQ(ScanAnswer(u"[{\"original\": \"a,b.txt\", \"renamed\": \"c.txt\",}]"), (Pairs{{u"a", u"c.txt"}}));
  // Values without the colon and comma they need end the scan instead of repeating it forever.
  EXPECT_TRUE(ScanAnswer(u"[{ original renamed").empty());
}

TEST(AnswerParsingTest, AnswersAreReadAsJsonFirst) {
  const std::string fenced =
      "Sure! Here is the result:\n```json\n{\"filenames\": [\n"
      "  {\"renamed\": \"B, final.txt\", \"original\": \"a, draft.txt\"},\n"
      "  {\"original\": \"caf\\u00e9.txt\", \"renamed\": \"Caf\xC3\xA9 \\\"2\\\".txt\"}\n]}\n```\nEnjoy.";
  EXPECT_EQ(ParseAnswer(fenced),
            (Pairs{{u"a, draft.txt", u"B, final.txt"}, {u"caf\u00E9.txt", u"Caf\u00E9 \"2\".txt"}}));
  // The layout of the request, with a comma after every object, is forgiven.
  EXPECT_EQ(ParseAnswer("'''\n{\"filenames\":[{\"original\":\"x\",\"renamed\":\"y\"},]}\n'''"), (Pairs{{u"x", u"y"}}));
  // Objects that parse on their own are read even when the list around them does not.
  EXPECT_EQ(ParseAnswer("[{\"original\":\"x\",\"renamed\":\"y\"} {\"original\":\"p\",\"renamed\":\"q\"} oops]"),
            (Pairs{{u"x", u"y"}, {u"p", u"q"}}));
  // Empty or missing values give no pair.
  EXPECT_TRUE(ParseAnswer("[{\"original\":\"x\",\"renamed\":\"\"},{\"original\":\"x\"}]").empty());
  // No JSON to read: the tolerant scan takes over.
  EXPECT_EQ(ParseAnswer("[{ original: a.txt, renamed: b.txt, }"), (Pairs{{u"a.txt", u"b.txt"}}));
}

/// What `work` returns when run on a thread of its own, as the assistant's worker runs it.
template <typename Work>
auto OnWorker(Work work) {
  decltype(work()) result;
  std::thread([&] { result = work(); }).join();
  return result;
}

std::string Repeated(std::string_view text, std::size_t times) {
  std::string repeated;
  repeated.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(AnswerParsingTest, DeeplyNestedAnswersAreReadWithoutRecursion) {
  const std::string deep = Repeated("[", 500'000) + Repeated("]", 500'000);  // 1 MB
  EXPECT_TRUE(OnWorker([&] { return ParseAnswer(deep); }).empty());
}

TEST(AnswerParsingTest, HugeAnswersAreReadInOnePass) {
  // Brackets that never close, and values that never end.
  EXPECT_TRUE(OnWorker([&] { return ParseAnswer(std::string(1 << 20, '{')); }).empty());
  EXPECT_TRUE(OnWorker([&] { return ParseAnswer(std::string(1 << 20, '[')); }).empty());
  EXPECT_TRUE(OnWorker([&] { return ParseAnswer(Repeated("[{\"original\":\"", 100'000)); }).empty());
  const std::string pair = R"({"original":"a.txt","renamed":"b.txt"})";
  EXPECT_EQ(OnWorker([&] { return ParseAnswer(Repeated("{\"k\":[", 100'000) + pair); }), (Pairs{{u"a.txt", u"b.txt"}}));
  // A pair in the middle of brackets too deep to read is still found.
  EXPECT_EQ(OnWorker([&] { return ParseAnswer(Repeated("[", 200'000) + pair + Repeated("]", 200'000)); }),
            (Pairs{{u"a.txt", u"b.txt"}}));
  // Many objects of the scan, with the one "renamed" at the end, or without a colon.
  const std::string renamedLast = Repeated("{original: a, ", 70'000).insert(0, 1, '[') + "renamed";
  EXPECT_EQ(OnWorker([&] { return ParseAnswer(renamedLast); }).size(), 35'000u);  // each value after the next colon
  const std::string noColon = "[renamed" + Repeated("{original x", 100'000);
  EXPECT_TRUE(OnWorker([&] { return ParseAnswer(noColon); }).empty());
}

TEST(AnswerParsingTest, EscapesAndUtf8BecomeTheirCharacters) {
  EXPECT_EQ(DecodeUnicodeEscapes("caf\\u00e9.txt,"), u"caf\u00E9.txt,");
  EXPECT_EQ(DecodeUnicodeEscapes("x\\u41zz.txt"), u"xA.txt");  // two digits used, two letters dropped
  EXPECT_EQ(DecodeUnicodeEscapes("\\uzzzzz"), u"\\uzzzzz");
  EXPECT_EQ(DecodeUnicodeEscapes("\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
  EXPECT_EQ(ListParsedPairs({{{u"a", u"b"}}, {{u"c", u"d"}}}), u"a, b\r\nc, d\r\n");
}

TEST(AnswerParsingTest, NewNamesWithControlOrDirectionCharactersAreRefusedAndTheEndsTrimmed) {
  const std::string answer =
      R"([{"original":"a.jpg","renamed":"line\nbreak.jpg"},{"original":"b.exe","renamed":"bidi\u202Egpj.exe"},)"
      R"({"original":"c.txt","renamed":"  spaced.txt \t"},{"original":"d.txt","renamed":"tab\there.txt"},)"
      R"({"original":"e.txt","renamed":"del\u007F.txt"},{"original":"f.txt","renamed":"   "},)"
      R"({"original":"g.txt","renamed":"cr\r.txt"}])";
  const auto pairs = ParseAnswer(answer);
  const std::u16string refused =
      u": not renamed, the new name holds a control, invisible or text-direction character, or bytes that are not text\r\n";
  EXPECT_EQ(ListParsedPairs({pairs}), u"a.jpg" + refused + u"b.exe" + refused + u"c.txt, spaced.txt\r\n" + u"d.txt" +
                                          refused + u"e.txt" + refused + u"g.txt" + refused);
  // The scan trims and refuses the same way.
  EXPECT_EQ(ListParsedPairs({ParseAnswer("[{ original: h.txt, renamed: \"\\u202E h.txt\", }")}), u"h.txt" + refused);

  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.jpg", u"b.exe", u"c.txt"});
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  session.ApplyParsedPairs({pairs});
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (std::vector<std::u16string>{u"b.exe", u"a.jpg", u"spaced.txt"}));
}

// Characters that do not show, or fill space with nothing, would make a name that reads as
// another; a byte that is not UTF-8 becomes U+FFFD, which no name may hold either.
TEST(AnswerParsingTest, NewNamesWithInvisibleCharactersOrBytesThatAreNotTextAreRefused) {
  const struct {
    const char* what;
    std::string renamed;  // the JSON string's content
    bool refused;
  } cases[] = {
      {"zero-width space", R"(a\u200Bb.txt)", true},
      {"byte-order mark", "a\xEF\xBB\xBF" "b.txt", true},
      {"word joiner", R"(a\u2060b.txt)", true},
      {"soft hyphen", "a\xC2\xAD" "b.txt", true},
      {"annotation anchor", R"(a\uFFF9b.txt)", true},
      {"tag letter", R"(a\uDB40\uDC61b.txt)", true},
      {"cancel tag", "a\xF3\xA0\x81\xBF" "b.txt", true},
      {"Arabic number sign", R"(\u0600a.txt)", true},
      {"Hangul filler", R"(a\u3164.txt)", true},
      {"halfwidth Hangul filler", R"(a\uFFA0.txt)", true},
      {"zero-width joiner", R"(\uD83D\uDC68\u200D\uD83D\uDC69.txt)", true},
      {"invalid byte", "caf\xE9.txt", true},
      {"replacement character", R"(caf\uFFFD.txt)", true},
      {"accents, CJK and an emoji", R"(\u00E9t\u00E9 \u65E5\u8A18 \uD83D\uDE00.txt)", false},
      {"an emoji with its variation selector", R"(\u2764\uFE0F.txt)", false},
      {"Hangul syllables", R"(\uD55C\uAE00.txt)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string& answer : {R"([{"original":"a.txt","renamed":")" + c.renamed + R"("}])",
                                      "[{ original: a.txt, renamed: " + c.renamed + ", }"}) {
      const std::vector<RenamePair> pairs = ParseAnswer(answer);
      ASSERT_EQ(pairs.size(), 1u) << answer;
      EXPECT_EQ(pairs[0].refusal, c.refused ? Refusal::UnsafeName : Refusal::None) << answer;
    }
  }
}

TEST(AnswerParsingTest, ParsedPairsRenameTheirLinesInOneUndoStep) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.txt", u"b.txt", u"c.txt"});
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  session.ApplyParsedPairs({{{u"c.txt", u"C.txt"}, {u"zz.txt", u"lost.txt"}}, {{u"a.txt", u"first"}, {u"a.txt", u"A.txt"}}});
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (std::vector<std::u16string>{u"A.txt", u"b.txt", u"C.txt"}));
  ASSERT_TRUE(session.Undo());
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (std::vector<std::u16string>{u"a.txt", u"b.txt", u"c.txt"}));
  EXPECT_FALSE(session.Editor().CanUndo());

  // Nothing that matches: the lines stay as they are, and no undo step is taken.
  session.ApplyParsedPairs({{{u"zz.txt", u"lost.txt"}}});
  EXPECT_FALSE(session.Editor().CanUndo());
}

// A line the answer does not name keeps showing what was typed into it, in every scope, so that
// the next character typed goes where the line shows it and the name is what the line shows.
TEST(AnswerParsingTest, LinesTheAnswerDoesNotNameKeepWhatTheyShow) {
  struct Case {
    EditScope scope;
    std::u16string file;
    std::int32_t column;  // where the text is pasted; -1: the line's end
    std::u16string pasted;
    std::u16string shownAfterZ;
    std::u16string nameAfterZ;
  };
  const Case cases[] = {
      {EditScope::WholeName, u"README", -1, u"md", u"READMEmdZ", u"READMEmdZ"},
      {EditScope::BaseName, u"README", -1, u".v\u00E9", u"README.v\u00E9Z", u"README.v\u00E9Z"},
      {EditScope::Extension, u"README", 0, u"md", u"mdZ", u"READMEmdZ"},
      {EditScope::Extension, u"x.gz", -1, u".tar", u".gz.tarZ", u"x.gz.tarZ"},
      {EditScope::Extension, u"\u65E5\u8A18.gz", -1, u".\U0001F600", u".gz.\U0001F600Z", u"\u65E5\u8A18.gz.\U0001F600Z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "scope " << static_cast<int>(c.scope) << ", " << ToUtf8(c.file));
    test::FakeFileSystem fs;
    fs.AddFolder(u"/f/", {u"README", u"b.txt", c.file});
    MemorySettingsStore settings;
    EditorSession session(fs, settings);
    session.LoadFolder(u"/f/");
    NameEditor& editor = session.Editor();
    editor.SetEditScope(c.scope);
    const auto lineOf = [&](std::u16string_view name) {
      for (std::size_t line = 0; line < editor.LineCount(); ++line) {
        if (editor.Names()[line].originalName == name) return static_cast<std::int32_t>(line);
      }
      return -1;
    };
    const std::int32_t line = lineOf(c.file);
    const auto caretAtEnd = [&] {
      const auto end = static_cast<std::int32_t>(editor.Names()[static_cast<std::size_t>(line)].lineText.size());
      editor.SetSelection({line, line, end, end}, {line, end});
    };
    if (c.column < 0) {
      caretAtEnd();
    } else {
      editor.SetSelection({line, line, c.column, c.column}, {line, c.column});
    }
    ASSERT_TRUE(editor.PasteText(c.pasted));
    const NameEntry typed = editor.Names()[static_cast<std::size_t>(line)];

    session.ApplyParsedPairs({{{u"b.txt", u"B\u00E9.txt"}}});
    const NameEntry& named = editor.Names()[static_cast<std::size_t>(lineOf(u"b.txt"))];
    EXPECT_EQ(named.newName, u"B\u00E9.txt");
    EXPECT_EQ(named.lineText, ScopedPart(named.newName, c.scope));
    EXPECT_EQ(editor.Names()[static_cast<std::size_t>(line)].lineText, typed.lineText);
    EXPECT_EQ(editor.Names()[static_cast<std::size_t>(line)].newName, typed.newName);

    caretAtEnd();
    ASSERT_TRUE(session.TypeChar(u'Z'));
    EXPECT_EQ(editor.Names()[static_cast<std::size_t>(line)].lineText, c.shownAfterZ);
    EXPECT_EQ(editor.Names()[static_cast<std::size_t>(line)].newName, c.nameAfterZ);
  }
}

}  // namespace
}  // namespace nomvarix
