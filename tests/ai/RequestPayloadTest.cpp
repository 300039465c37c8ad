#include "ai/RequestPayload.h"

#include <variant>

#include <gtest/gtest.h>

#include "ai/AnswerParsing.h"
#include "ai/ChatRequest.h"
#include "ai/Utf8Cleaning.h"
#include "support/EditorFixture.h"
#include "support/NumberedPairs.h"

namespace nomvarix {
namespace {

int CountOf(const std::u16string& text, std::u16string_view what) {
  int count = 0;
  for (std::size_t at = text.find(what); at != std::u16string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST(RequestPayloadTest, GroupsCutTheNamesAndEveryObjectOfAGroupHasItsComma) {
  EXPECT_EQ(GroupCount(7, 3), 3u);
  EXPECT_EQ(GroupCount(6, 3), 2u);
  EXPECT_EQ(GroupCount(0, 3), 0u);
  EXPECT_EQ(GroupCount(4, 0), 4u);  // a size below 1 is 1
  EXPECT_EQ(GroupCount(4, -5), 4u);

  PromptTemplate prompt;
  prompt.prePrompt = u"PRE";
  prompt.postPrompt = u"POST\r\n";
  const auto pairs = test::NumberedPairs(7);
  const std::u16string third = BuildUserMessage(prompt, u"Rule\r\ntwo", pairs, 2, 3);
  EXPECT_EQ(third, u"PRE\n\nRule\ntwo\n\nPOST\n\n\n'''\n{\n  \"filenames\": [\n    {\n      \"original\": \"f7.txt\",\n"
                   u"      \"renamed\": \"\"\n    },\n  ]\n}\n'''");
  const std::u16string first = BuildUserMessage(prompt, u"r", pairs, 0, 3);
  EXPECT_EQ(CountOf(first, u"\"original\""), 3);
  EXPECT_EQ(CountOf(first, u"},\n"), 3);
  EXPECT_EQ(CountOf(BuildUserMessage(prompt, u"r", pairs, 1, 0), u"\"original\""), 1);
  // No names: the message still carries the rule, with an empty list.
  EXPECT_EQ(BuildUserMessage(prompt, u"r", {}, 0, 3), u"PRE\n\nr\n\nPOST\n\n\n");
}

TEST(RequestPayloadTest, NamesWithQuotesAndBackslashesTravelAsJsonStringsAndComeBack) {
  const std::u16string name = u"say \"hi\" \\ there\ttab.txt";
  const std::u16string message = BuildUserMessage(PromptTemplate{}, u"r", {{name, name}}, 0, 10);
  EXPECT_NE(message.find(u"\"original\": \"say \\\"hi\\\" \\\\ there\\u0009tab.txt\","), std::u16string::npos);
  // The model answers with the same escapes, and the pair finds its line.
  const std::string answer = R"([{"original": "say \"hi\" \\ there\u0009tab.txt", "renamed": "quiet.txt"}])";
  EXPECT_EQ(ParseAnswer(answer), (std::vector<RenamePair>{{name, u"quiet.txt"}}));
}

TEST(RequestPayloadTest, ExamplesAndTheSystemTextAreSentOnlyWhenTheyHoldText) {
  PromptTemplate prompt = DefaultTemplate();
  std::vector<ChatMessage> messages = TemplateMessages(prompt);
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[0].role, "system");
  EXPECT_EQ(messages[1].role, "user");
  EXPECT_EQ(messages[2].role, "assistant");
  EXPECT_EQ(messages[2].content.find('\r'), std::string::npos);
  // The example list has no comma after its last object.
  EXPECT_NE(messages[2].content.find("\"264536Photo.png\"\n    }\n  ]"), std::string::npos);

  prompt.systemText.clear();
  prompt.example2.clear();  // its answer alone is not sent
  messages = TemplateMessages(prompt);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].role, "user");
}

TEST(RequestPayloadTest, TheBodyIsCompactSortedAndExactUtf8) {
  const std::vector<ChatMessage> messages = {{"system", "S"}, {"user", "caf\xC3\xA9 \"q\"\nline"}};
  const auto body = BuildRequestBody("m-1", messages, -1.0);
  ASSERT_TRUE(std::holds_alternative<std::string>(body));
  EXPECT_EQ(std::get<std::string>(body),
            R"({"max_tokens":800,"messages":[{"content":"S","role":"system"},{"content":"caf)"
            "\xC3\xA9"
            R"( \"q\"\nline","role":"user"}],"mode":"instruct","model":"m-1","stream":true})");
  const auto withTemperature = BuildRequestBody("m", {}, 0.0);
  EXPECT_NE(std::get<std::string>(withTemperature).find(R"("stream":true,"temperature":0.0})"), std::string::npos);

  const auto invalid = BuildRequestBody("m", {{"user", "caf\xE9!"}}, -1.0);
  ASSERT_TRUE(std::holds_alternative<RequestError>(invalid));
  EXPECT_EQ(std::get<RequestError>(invalid).text.rfind("JSON Error: ", 0), 0u);
}

TEST(RequestPayloadTest, EndpointDependsOnTheServersName) {
  EXPECT_EQ(ChatEndpointUrl("http://127.0.0.1:11434"), "http://127.0.0.1:11434/v1/chat/completions");
  EXPECT_EQ(ChatEndpointUrl("https://api.deepseek.com"), "https://api.deepseek.com/beta/chat/completions");
  EXPECT_EQ(ChatEndpointUrl("https://x.googleapis.com/v1beta/openai"),
            "https://x.googleapis.com/v1beta/openai/chat/completions");
  EXPECT_EQ(ChatEndpointUrl("https://deepseek.googleapis.com"), "https://deepseek.googleapis.com/beta/chat/completions");
  EXPECT_EQ(ChatEndpointUrl("https://api.Perplexity.ai"), "https://api.Perplexity.ai/v1/chat/completions");
  EXPECT_EQ(ChatEndpointUrl("https://host/api/"), "https://host/api//v1/chat/completions");
}

TEST(RequestPayloadTest, CleaningMapsLatinCapitalsAndDropsBrokenSequences) {
  EXPECT_EQ(CleanUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(CleanUtf8("\xC9t\xE9!"), "Et?!");
  EXPECT_EQ(CleanUtf8("\xE2\x82\xAC\xE2\x82"), "\xE2\x82\xAC??");
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9 \xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));
  EXPECT_FALSE(IsValidUtf8("\xA9"));
  EXPECT_FALSE(IsValidUtf8("\xF0\x9F\x98"));
  EXPECT_TRUE(IsValidUtf8(CleanUtf8("\xFF\xC3\x28\xE2\x82")));
}

class RequestPairsTest : public test::EditorFixture {};

TEST_F(RequestPairsTest, ASelectionOverSeveralLinesSendsThoseLinesElseAll) {
  Load({u"a", u"b", u"c", u"d", u"e", u"f", u"g"});
  Caret(0, 0);
  Type(u"X");
  Block(3, 5, 0, 1);
  std::vector<RenamePair> pairs = CollectRequestPairs(editor);
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0], (RenamePair{u"d", u"d"}));
  EXPECT_EQ(pairs[2].original, u"f");

  Block(1, 1, 0, 1);  // inside one line: every name, with its new name
  pairs = CollectRequestPairs(editor);
  ASSERT_EQ(pairs.size(), 7u);
  EXPECT_EQ(pairs[0], (RenamePair{u"a", u"Xa"}));
  editor.SetSelection({-1, -1, -1, -1}, {-1, -1});
  EXPECT_EQ(CollectRequestPairs(editor).size(), 7u);
}

}  // namespace
}  // namespace nomvarix
