#include "ai/AnswerParsing.h"

#include <gtest/gtest.h>

#include "platform/MemorySettingsStore.h"
#include "session/EditorSession.h"
#include "support/FakeFileSystem.h"
#include "support/NameListText.h"

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

TEST(AnswerParsingTest, EscapesAndUtf8BecomeTheirCharacters) {
  EXPECT_EQ(DecodeUnicodeEscapes("caf\\u00e9.txt,"), u"caf\u00E9.txt,");
  EXPECT_EQ(DecodeUnicodeEscapes("x\\u41zz.txt"), u"xA.txt");  // two digits used, two letters dropped
  EXPECT_EQ(DecodeUnicodeEscapes("\\uzzzzz"), u"\\uzzzzz");
  EXPECT_EQ(DecodeUnicodeEscapes("\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
  EXPECT_EQ(ListParsedPairs({{{u"a", u"b"}}, {{u"c", u"d"}}}), u"a, b\r\nc, d\r\n");
}

TEST(AnswerParsingTest, ParsedPairsRenameTheirLinesWithoutAnUndoStep) {
  test::FakeFileSystem fs;
  fs.AddFolder(u"/f/", {u"a.txt", u"b.txt", u"c.txt"});
  MemorySettingsStore settings;
  EditorSession session(fs, settings);
  session.LoadFolder(u"/f/");
  session.ApplyParsedPairs({{{u"c.txt", u"C.txt"}, {u"zz.txt", u"lost.txt"}}, {{u"a.txt", u"first"}, {u"a.txt", u"A.txt"}}});
  EXPECT_EQ(test::NewNames(session.Editor().Names()), (std::vector<std::u16string>{u"A.txt", u"b.txt", u"C.txt"}));
  EXPECT_FALSE(session.Editor().CanUndo());
}

}  // namespace
}  // namespace nomvarix
