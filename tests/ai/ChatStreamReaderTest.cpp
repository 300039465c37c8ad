#include "ai/ChatStreamReader.h"

#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "support/StreamFixtures.h"

namespace nomvarix {
namespace {

/// A reader with the pieces it handed out.
struct Reading {
  std::vector<std::string> pieces;
  std::atomic<bool> cancel = false;
  ChatStreamReader reader{[this](std::string_view piece) { pieces.emplace_back(piece); }, &cancel};

  void Feed(const std::vector<std::string>& blocks) {
    for (const std::string& block : blocks) reader.Receive(block);
    reader.Finish();
  }
};

std::string Event(std::string_view json) { return "data: " + std::string(json) + "\n\n"; }
std::string Content(std::string_view text) {
  return Event(R"({"choices":[{"index":0,"delta":{"content":")" + std::string(text) + R"("}}]})");
}
const std::string kDone = "data: [DONE]\n\n";

/// The text in blocks cut at random places (always the same for the same seed).
std::vector<std::string> RandomCuts(const std::string& text, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> blocks;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t size = std::uniform_int_distribution<std::size_t>(1, 40)(random);
    blocks.push_back(text.substr(at, size));
    at += size;
  }
  return blocks;
}

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}

/// Warnings this reader gives where the recorded reference saw no error.
const std::map<std::string, std::string> kWarnings = {
    {"openai-finish-length.sse", "The answer was cut short: the server's token limit was reached."},
    {"ollama-midstream-error-lost.sse", "The answer ended before the server finished it."},
    {"openai-refusal-null-content.sse", "The model refused: I'm sorry, I can't assist with that request."},
};

TEST(ChatStreamReaderTest, RecordedAnswersGiveTheirTextAndErrorHoweverTheBytesAreCut) {
  const auto fixtures = test::LoadStreamFixtures();
  ASSERT_EQ(fixtures.size(), 33u);
  for (const test::StreamFixture& fixture : fixtures) {
    SCOPED_TRACE(fixture.name);
    std::string body = fixture.content;
    if (fixture.httpStatus != 200) body = body.substr(body.find("\n\n") + 2);
    std::vector<std::vector<std::string>> cuttings = {{body}, RandomCuts(body, 1), RandomCuts(body, 2)};
    if (body.size() < 5000) {
      std::vector<std::string> bytes;
      for (const char c : body) bytes.emplace_back(1, c);
      cuttings.push_back(bytes);
    }
    for (const auto& blocks : cuttings) {
      Reading reading;
      reading.reader.SetStatus(fixture.httpStatus);
      reading.Feed(blocks);
      EXPECT_EQ(reading.reader.Answer(), fixture.text);
      std::string joined;
      for (const std::string& piece : reading.pieces) joined += piece;
      EXPECT_EQ(joined, fixture.text);
      if (fixture.httpStatus != 200) {
        EXPECT_EQ(WithoutCr(reading.reader.LastError()),
                  WithoutCr("HTTP " + std::to_string(fixture.httpStatus) + ": " + test::ShownErrorOf(fixture)));
      } else if (fixture.errorMessage) {
        EXPECT_EQ(reading.reader.LastError(), *fixture.errorMessage);
      } else {
        const auto warning = kWarnings.find(fixture.name);
        EXPECT_EQ(reading.reader.LastError(), warning == kWarnings.end() ? "" : warning->second);
      }
    }
  }
}

TEST(ChatStreamReaderTest, EventsAreReadOnceWhereverTheBlocksEnd) {
  Reading split;  // an event cut inside its JSON, and a "data:" marker cut in two
  split.Feed({R"(data: {"choices":[{"delta":{"content":"He)", "llo\"}}]}\n\nda", "ta: " + Content("!").substr(6), kDone});
  EXPECT_EQ(split.pieces, (std::vector<std::string>{"Hello", "!"}));

  Reading three;
  three.Feed({Content("a") + Content("b") + Content("c") + kDone});
  EXPECT_EQ(three.pieces, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(three.reader.LastError(), "");

  Reading crlf;  // CR LF line ends, comments and other fields between the events
  crlf.Feed({": ping\r\nevent: chunk\r\nid: 7\r\n" + Content("x") + ": ping\r\n\r\ndata:" + Content("y").substr(5) + kDone});
  EXPECT_EQ(crlf.reader.Answer(), "xy");
}

TEST(ChatStreamReaderTest, TheStreamEndsAtItsDoneMarkerOnly) {
  Reading reading;
  reading.Feed({Content("[DONE] is a name") + Content("data: too") + kDone + Content("late")});
  EXPECT_EQ(reading.reader.Answer(), "[DONE] is a namedata: too");
  EXPECT_EQ(reading.reader.LastError(), "");
}

TEST(ChatStreamReaderTest, OddEventsNeitherStallNorStopTheStream) {
  Reading reading;
  reading.Feed({"data: not json\n\n",                                                  // skipped at its line end
                Event(R"({"choices":[{"delta":{"role":"assistant","content":null}}]})"),  // no piece, no error
                Event(R"({"choices":[{"delta":{}}]})"),                                 // nothing at all
                Event(R"({"choices":[{"text":"t"}]})"),                                 // completions-style text
                Event(R"({"choices":[]})"), Event("{]"), Content("ok"), kDone});
  EXPECT_EQ(reading.reader.Answer(), "tok");
  EXPECT_EQ(reading.reader.LastError(), "");

  Reading wrongType;  // content that is not a string: an error, and the stream goes on
  wrongType.Feed({Event(R"({"choices":[{"delta":{"content":5}}]})"), Content("b"), kDone});
  EXPECT_EQ(wrongType.reader.Answer(), "b");
  EXPECT_EQ(wrongType.reader.LastError().rfind("JSON Parse Error: ", 0), 0u);
  EXPECT_NE(wrongType.reader.LastError().find("\nRaw chunk: {\"choices\""), std::string::npos);

  Reading invalidUtf8;  // a Latin-1 byte becomes U+FFFD before parsing
  invalidUtf8.Feed({Content("caf\xE9") + kDone});
  EXPECT_EQ(invalidUtf8.reader.Answer(), "caf\xEF\xBF\xBD");

  Reading error;  // an error ends the answer
  error.Feed({Content("a") + Event(R"({"error":{"message":"boom"}})") + Content("lost"), Content("b") + kDone});
  EXPECT_EQ(error.reader.Answer(), "a");
  EXPECT_EQ(error.reader.LastError(), "boom");
}

TEST(ChatStreamReaderTest, EachPayloadEndsAtItsLineEndAndAnErrorEndsTheAnswer) {
  const std::string broken = R"(data: {"choices":[{"delta":{"content":"a)" "\n\n";
  for (const auto& blocks : {std::vector<std::string>{broken + Content("b") + kDone}, RandomCuts(broken + Content("b") + kDone, 3)}) {
    Reading reading;  // a chunk cut off at its line end takes nothing after it along
    reading.Feed(blocks);
    EXPECT_EQ(reading.reader.Answer(), "b");
    EXPECT_EQ(reading.reader.LastError().rfind("JSON Parse Error: ", 0), 0u);
  }
  Reading last;  // the last event needs no line end
  last.Feed({Content("a") + R"(data: {"choices":[{"delta":{"content":"b"},"finish_reason":"stop"}]})"});
  EXPECT_EQ(last.reader.Answer(), "ab");
  EXPECT_EQ(last.reader.LastError(), "");

  Reading accents;  // one invalid byte leaves the valid accents of its event alone
  accents.Feed({Content("caf\xC3\xA9 \xFF \xC3\x89t\xC3\xA9") + kDone});
  EXPECT_EQ(accents.reader.Answer(), "caf\xC3\xA9 \xEF\xBF\xBD \xC3\x89t\xC3\xA9");

  const std::string errorStream =
      Content("a") + Event(R"({"error":{"message":"boom"}})") + Content("lost") + Content("more") + kDone;
  for (const auto& blocks : {std::vector<std::string>{errorStream}, RandomCuts(errorStream, 4), RandomCuts(errorStream, 5)}) {
    Reading reading;  // an error ends the answer, wherever the network cut the stream
    reading.Feed(blocks);
    EXPECT_EQ(reading.reader.Answer(), "a");
    EXPECT_EQ(reading.reader.LastError(), "boom");
  }
}

TEST(ChatStreamReaderTest, BodiesThatAreNoStream) {
  Reading completion;  // a server that does not stream
  completion.Feed({R"({"choices":[{"index":0,"message":{"role":"assistant","content":"whole"},"finish_reason":"stop"}]})"});
  EXPECT_EQ(completion.pieces, std::vector<std::string>{"whole"});
  EXPECT_EQ(completion.reader.LastError(), "");

  Reading page;
  page.Feed({"<html>captive portal</html>"});
  EXPECT_EQ(page.reader.LastError(), "The server's answer is not a chat completion: <html>captive portal</html>");

  Reading empty;
  empty.Feed({});
  EXPECT_EQ(empty.reader.LastError(), "The server sent an empty answer.");

  Reading refused;
  refused.reader.SetStatus(401);
  refused.Feed({R"({"error":"bad key"})"});
  EXPECT_EQ(refused.reader.LastError(), "HTTP 401: bad key");
  EXPECT_EQ(refused.reader.Answer(), "");
}

TEST(ChatStreamReaderTest, DeeplyNestedEventsAndErrorBodiesAreReadWithoutRecursion) {
  const std::string deep = std::string(500'000, '[') + std::string(500'000, ']');
  std::thread([&] {
    Reading errorBody;  // an HTTP error whose message is the deep value
    errorBody.reader.SetStatus(500);
    errorBody.Feed({R"({"error":)" + deep + "}"});
    EXPECT_EQ(errorBody.reader.LastError().rfind("HTTP 500: [[[", 0), 0u);
    EXPECT_LT(errorBody.reader.LastError().size(), 1000u);

    Reading events;  // an error event and a chunk with a deep member
    events.Feed({Event(R"({"choices":[{"delta":{"content":"a"},"x":)" + deep + "}]}"),
                 Event(R"({"error":)" + deep + "}")});
    EXPECT_EQ(events.reader.Answer(), "a");
    EXPECT_EQ(events.reader.LastError().rfind("[[[", 0), 0u);
    EXPECT_LT(events.reader.LastError().size(), 1000u);

    Reading completion;  // a body that is one completion
    completion.Feed({R"({"choices":[{"message":{"content":"whole"},"finish_reason":"stop","x":)" + deep + "}]}"});
    EXPECT_EQ(completion.reader.Answer(), "whole");
  }).join();
}

TEST(ChatStreamReaderTest, AnAnswerLargerThanAnyListOfNamesIsGivenUp) {
  Reading reading;
  const std::string event = Content(std::string(1000, 'x'));
  for (int i = 0; i < 5000; ++i) reading.reader.Receive(event);
  reading.reader.Receive(kDone);
  reading.reader.Finish();
  EXPECT_EQ(reading.reader.Answer().size(), 4'194'000u);  // the piece that would pass 4 MiB is not taken
  EXPECT_EQ(reading.pieces.size(), 4194u);
  EXPECT_TRUE(reading.reader.GaveUp());
  EXPECT_EQ(reading.reader.LastError(), "The answer is larger than 4 MB, more than any list of names: it was stopped.");
}

TEST(ChatStreamReaderTest, NothingIsReadOnceCancelled) {
  Reading reading;
  reading.reader.Receive(Content("a"));
  reading.cancel = true;
  reading.Feed({Content("b") + kDone});
  EXPECT_EQ(reading.reader.Answer(), "a");
  EXPECT_EQ(reading.reader.LastError(), "");
}

}  // namespace
}  // namespace nomvarix
