#include "ai/LlmClient.h"

#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/ChatTestServer.h"
#include "support/StreamFixtures.h"

namespace nomvarix {
namespace {

using namespace std::chrono_literals;
using test::ChatTestServer;

struct Result {
  std::string answer;
  std::string error;
  std::vector<std::string> pieces;
  int doneCalls = 0;
};

Result Chat(LlmClient& client, std::string_view user = "hello") {
  Result result;
  result.answer = client.Chat(
      user, [&](std::string_view piece) { result.pieces.emplace_back(piece); },
      [&](const std::string&, const std::string& error) {
        result.error = error;
        ++result.doneCalls;
      },
      -1.0);
  return result;
}

TEST(LlmClientTest, StreamsPiecesAsTheyArriveAndSendsTheRequestAsBuilt) {
  ChatTestServer server;
  const auto event = [](std::string_view piece) { return ChatTestServer::StreamOf({std::string(piece)}).blocks[0]; };
  ChatTestServer::Reply reply;
  // One event cut inside its JSON, then three events in one block, then the end.
  reply.blocks = {R"(data: {"choices":[{"delta":{"content":"Caf)", "\xC3\xA9\"}}]}\n\n",
                  event("a") + event("b") + event("c"), "data: [DONE]\n\n"};
  reply.delay = 30ms;
  server.AddReply(reply);

  LlmClient client({server.BaseUrl(), "test-model", "secret-key"});
  client.AddMessages({{"system", "sys"}});
  const Result result = Chat(client, "r\xC3\xA9sum\xC3\xA9.txt");
  EXPECT_EQ(result.pieces, (std::vector<std::string>{"Caf\xC3\xA9", "a", "b", "c"}));
  EXPECT_EQ(result.answer, "Caf\xC3\xA9" "abc");
  EXPECT_EQ(result.error, "");
  EXPECT_EQ(result.doneCalls, 1);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/v1/chat/completions");
  EXPECT_EQ(requests[0].authorization, "Bearer secret-key");
  const auto body = nlohmann::json::parse(requests[0].body);
  EXPECT_EQ(body["model"], "test-model");
  EXPECT_EQ(body["stream"], true);
  EXPECT_EQ(body["max_tokens"], 800);
  EXPECT_FALSE(body.contains("temperature"));
  ASSERT_EQ(body["messages"].size(), 2u);
  EXPECT_EQ(body["messages"][1]["content"], "r\xC3\xA9sum\xC3\xA9.txt");  // the same UTF-8 bytes
  EXPECT_NE(requests[0].body.find("r\xC3\xA9sum\xC3\xA9.txt"), std::string::npos);
}

TEST(LlmClientTest, ErrorsOfTheServerAreReported) {
  ChatTestServer server;
  server.AddReply({.status = 401,
                   .contentType = "application/json",
                   .blocks = {R"({"error":{"message":"Invalid API Key","code":401}})"}});
  // A proxy in front of the server answers with a page of its own: only its status line is shown.
  server.AddReply({.status = 502,
                   .contentType = "text/html",
                   .blocks = {"<html>\r\n<head><TITLE>502 Bad\r\n Gateway</TITLE></head>\r\n<body><center><h1>502 "
                              "Bad Gateway</h1></center><hr><center>nginx</center></body></html>\r\n"}});
  ChatTestServer::Reply midStream = ChatTestServer::StreamOf({"partial"});
  midStream.blocks.back() = R"(data: {"error":{"message":"overloaded"}})" "\n\n";
  server.AddReply(midStream);

  LlmClient client({server.BaseUrl(), "m", ""});
  Result result = Chat(client);
  EXPECT_EQ(result.answer, "");
  EXPECT_EQ(result.error, "HTTP 401: Invalid API Key");
  EXPECT_EQ(Chat(client).error, "HTTP 502: 502 Bad Gateway");
  result = Chat(client);
  EXPECT_EQ(result.answer, "partial");
  EXPECT_EQ(result.error, "overloaded");
}

TEST(LlmClientTest, RecordedAnswersReadTheSameOverHttp) {
  ChatTestServer server;
  const auto fixtures = test::LoadStreamFixtures();
  for (const test::StreamFixture& fixture : fixtures) server.AddReply(ChatTestServer::FixtureReply(fixture.content));
  for (const test::StreamFixture& fixture : fixtures) {
    SCOPED_TRACE(fixture.name);
    LlmClient client({server.BaseUrl(), "m", "k"});
    const Result result = Chat(client);
    EXPECT_EQ(result.answer, fixture.text);
    if (fixture.errorMessage) {
      const std::string shown = test::ShownErrorOf(fixture);
      EXPECT_NE(result.error.find(shown.substr(0, 20)), std::string::npos) << result.error;
    }
  }
}

TEST(LlmClientTest, CancelAbortsAStalledTransfer) {
  ChatTestServer server;
  ChatTestServer::Reply stalled = ChatTestServer::StreamOf({"first"});
  stalled.blocks.pop_back();  // no end marker
  stalled.stall = true;
  server.AddReply(stalled);

  LlmClient client({server.BaseUrl(), "m", "k"});
  std::vector<std::string> pieces;
  std::string error;
  std::promise<void> firstPiece;
  std::thread worker([&] {
    const std::string answer = client.Chat("x",
                                           [&](std::string_view piece) {
                                             pieces.emplace_back(piece);
                                             if (pieces.size() == 1) firstPiece.set_value();
                                           },
                                           [&](const std::string&, const std::string& e) { error = e; }, -1.0);
    EXPECT_EQ(answer, "");  // text that had arrived is not an answer
  });
  // The transfer is under way and then stalls; it would never end by itself, so the worker's end
  // shows the cancel.
  EXPECT_EQ(firstPiece.get_future().wait_for(30s), std::future_status::ready);
  client.Cancel();
  worker.join();
  EXPECT_EQ(pieces, std::vector<std::string>{"first"});
  EXPECT_EQ(error, "Stopped.");
}

TEST(LlmClientTest, AnAnswerTooLargeForAnyListOfNamesStopsTheTransfer) {
  ChatTestServer server;
  server.AddReply(ChatTestServer::StreamOf(std::vector<std::string>(10'000, std::string(1000, 'x'))));  // 10 MB
  LlmClient client({server.BaseUrl(), "m", "k"});
  const Result result = Chat(client);
  EXPECT_TRUE(result.answer.empty());
  EXPECT_EQ(result.error, "The answer is larger than 4 MB, more than any list of names: it was stopped.");
  EXPECT_EQ(result.pieces.size(), 4194u);
}

TEST(LlmClientTest, NoServerIsAnError) {
  std::string unused;
  {
    ChatTestServer server;  // a port that was free a moment ago
    unused = server.BaseUrl();
  }
  LlmClient client({unused, "m", "k"});
  const Result result = Chat(client);
  EXPECT_EQ(result.answer, "");
  EXPECT_EQ(result.error, "Couldn't connect to server at " + unused +
                              "/v1/chat/completions. Check that a chat server runs there and that LLM Settings name "
                              "its address.");
}

}  // namespace
}  // namespace nomvarix
