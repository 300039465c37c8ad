#include "ai/AiAssistant.h"
#include "ai/TemplateFile.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/ChatTestServer.h"
#include "support/FakeFileSystem.h"
#include "support/NumberedPairs.h"
#include "text/Utf16.h"

namespace nomvarix {
namespace {

using namespace std::chrono_literals;
using test::ChatTestServer;

class RecordingDisplay final : public AiDisplay {
 public:
  void ShowResponse(std::u16string_view text) override {
    responses.emplace_back(text);
    shownUnits += text.size();
  }
  void AppendResponse(std::u16string_view text) override {
    ++appended;
    if (keepEveryState) {
      responses.push_back(responses.back() + std::u16string(text));
    } else {
      responses.back() += text;
    }
    shownUnits += text.size();
  }
  void ShowErrors(std::u16string_view text) override { errors.emplace_back(text); }
  void ShowJson(std::u16string_view text) override { json = text; }
  void EnableControls(bool on) override { idle = on; }
  void ShowTemplateCaption(std::u16string_view text) override { caption = text; }

  std::vector<std::u16string> responses;
  std::vector<std::u16string> errors;
  std::u16string json;
  std::u16string caption = u"Template";
  bool idle = false;
  std::size_t shownUnits = 0;  ///< how much text the response box was given, all told
  std::size_t appended = 0;    ///< how many times text was added to the response box
  bool keepEveryState = true;  ///< each state of the response box is kept, not only the last
};

/// The dialog's message queue: workers post, the test's thread hands the messages over.
class Mailbox {
 public:
  AiAssistant::Post Poster() {
    return [this](WorkerMessage message) {
      const std::lock_guard lock(mutex_);
      messages_.push_back(std::move(message));
      posted_.notify_all();
    };
  }
  /// Hands messages to `assistant` until `done` holds; false when `limit` passed first.
  template <typename Predicate>
  bool PumpUntil(AiAssistant& assistant, Predicate done, std::chrono::milliseconds limit = 10s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_until(lock, end, [&] { return !messages_.empty(); })) return false;
      WorkerMessage message = std::move(messages_.front());
      messages_.pop_front();
      lock.unlock();
      if (message.kind == WorkerMessage::Kind::GroupDone) ++groupsDone_;
      assistant.Handle(std::move(message));
    }
    return true;
  }
  /// Waits, handing nothing over, until a worker has posted its last message; false when `limit`
  /// passed first.
  bool WaitForGroupEnd(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [&] {
      return std::any_of(messages_.begin(), messages_.end(),
                         [](const WorkerMessage& message) { return message.kind == WorkerMessage::Kind::GroupDone; });
    });
  }
  /// How many workers' last messages were handed over: after it nothing of that group can come.
  int GroupsDone() const { return groupsDone_; }
  void DeliverAll(AiAssistant& assistant) {
    PumpUntil(assistant, [&] { const std::lock_guard lock(mutex_); return messages_.empty(); }, 0ms);
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<WorkerMessage> messages_;
  int groupsDone_ = 0;
};

/// "f<n>.txt", or with `upper` "F<n>.TXT".
std::string FileName(std::size_t number, bool upper = false) {
  std::string name(upper ? "F" : "f");
  name += std::to_string(number);
  name += upper ? ".TXT" : ".txt";
  return name;
}

/// An answer renaming the names number first+1..first+count to upper case.
std::string UpperCaseAnswer(std::size_t first, std::size_t count) {
  std::string answer = "[";
  for (std::size_t number = first + 1; number <= first + count; ++number) {
    answer += R"({"original":")";
    answer += FileName(number);
    answer += R"(","renamed":")";
    answer += FileName(number, true);
    answer += R"("},)";
  }
  return answer + "]";
}

class AiAssistantTest : public ::testing::Test {
 protected:
  std::unique_ptr<AiAssistant> Make(std::vector<RenamePair> names) {
    auto assistant = std::make_unique<AiAssistant>(std::move(names), ChatServer{server.BaseUrl(), "m", "k"}, fs,
                                                   display, mailbox.Poster());
    assistant->Open();
    return assistant;
  }
  /// The answer to the group of names first..first+count-1, in two pieces.
  static ChatTestServer::Reply GroupAnswer(std::size_t first, std::size_t count) {
    return ChatTestServer::StreamOf({"Here:\n", UpperCaseAnswer(first, count)});
  }
  static ChatTestServer::Reply Stalled() {
    ChatTestServer::Reply reply = ChatTestServer::StreamOf({"thinking"});
    reply.blocks.pop_back();  // no end marker: the answer stays open
    reply.stall = true;
    return reply;
  }

  ChatTestServer server;
  test::FakeFileSystem fs;
  RecordingDisplay display;
  Mailbox mailbox;
};

TEST_F(AiAssistantTest, SevenNamesInGroupsOfThreeAreSentOneGroupAfterTheOther) {
  for (const auto& [first, count] : {std::pair{0u, 3u}, std::pair{3u, 3u}, std::pair{6u, 1u}}) {
    server.AddReply(GroupAnswer(first, count));
  }
  auto assistant = Make(test::NumberedPairs(7));
  EXPECT_EQ(display.responses, std::vector<std::u16string>{u"Number of items: 7"});
  EXPECT_TRUE(display.idle);

  EXPECT_FALSE(assistant->Send(u"", 3));  // no rule, nothing sent
  ASSERT_TRUE(assistant->Send(u"Upper case", 3));
  EXPECT_FALSE(display.idle);
  EXPECT_FALSE(assistant->Send(u"again", 3));  // busy
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !display.errors.empty() && display.errors.back() != u""; }));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::size_t perGroup[] = {3, 3, 1};
  for (std::size_t g = 0; g < 3; ++g) {
    const auto body = nlohmann::json::parse(requests[g].body);
    const std::string user = body["messages"].back()["content"];
    EXPECT_EQ(body["messages"].size(), 6u);  // system, two examples with answers, the group
    std::size_t objects = 0;
    for (std::size_t at = user.find("\"original\": \"f"); at != std::string::npos;
         at = user.find("\"original\": \"f", at + 1)) {
      ++objects;
    }
    EXPECT_EQ(objects, perGroup[g]);
    EXPECT_NE(user.find("    },\n  ]\n}\n'''"), std::string::npos);  // the request form's comma after the last
    EXPECT_NE(user.find("Upper case"), std::string::npos);
  }
  // Pieces that arrive before the dialog comes round to them are shown together: of each group's
  // answer, only the whole is sure to be seen.
  std::vector<std::u16string> shown;
  for (std::size_t i = 0; i < display.responses.size(); ++i) {
    const bool growsOn = i + 1 < display.responses.size() && display.responses[i + 1].starts_with(display.responses[i]);
    if (!growsOn) shown.push_back(display.responses[i]);
  }
  EXPECT_EQ(shown, (std::vector<std::u16string>{
                       u"Number of items: 7", u"Start Processing (Groups: 3)",
                       u"Here:\r\n[{\"original\":\"f1.txt\",\"renamed\":\"F1.TXT\"},{\"original\":\"f2.txt\","
                       u"\"renamed\":\"F2.TXT\"},{\"original\":\"f3.txt\",\"renamed\":\"F3.TXT\"},]",
                       u"Processing group: 2 of 3",
                       u"Here:\r\n[{\"original\":\"f4.txt\",\"renamed\":\"F4.TXT\"},{\"original\":\"f5.txt\","
                       u"\"renamed\":\"F5.TXT\"},{\"original\":\"f6.txt\",\"renamed\":\"F6.TXT\"},]",
                       u"Processing group: 3 of 3",
                       u"Here:\r\n[{\"original\":\"f7.txt\",\"renamed\":\"F7.TXT\"},]"}));
  EXPECT_EQ(display.errors.back(), u"Processing complete.\r\nNumber of items: 7, processed: 7");
  ASSERT_EQ(assistant->ParsedGroups().size(), 3u);
  EXPECT_EQ(assistant->ParsedGroups()[2], (std::vector<RenamePair>{{u"f7.txt", u"F7.TXT"}}));
  EXPECT_EQ(display.json.substr(0, 32), u"f1.txt, F1.TXT\r\nf2.txt, F2.TXT\r\n");
  EXPECT_TRUE(display.idle);
}

TEST_F(AiAssistantTest, StopEndsTheRunningGroupAndNoFurtherGroupIsSent) {
  server.AddReply(GroupAnswer(0, 3));
  server.AddReply(Stalled());
  server.AddReply(GroupAnswer(6, 1));
  auto assistant = Make(test::NumberedPairs(7));

  ASSERT_TRUE(assistant->Send(u"rule", 3));
  ASSERT_TRUE(server.WaitForRequests(1, 30s));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return display.responses.back() == u"Processing group: 2 of 3"; }));
  ASSERT_TRUE(server.WaitForRequests(2, 30s));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return display.responses.back() == u"thinking"; }));
  assistant->StopByUser([&] { mailbox.DeliverAll(*assistant); });
  EXPECT_FALSE(assistant->Busy());
  EXPECT_TRUE(display.idle);
  EXPECT_EQ(display.responses.back(), u"Processing stopped by user.\r\nNumber of items: 7, processed: 3");
  // The aborted transfer's own text arrives after the stop.
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return display.errors.back() == u"Group 2: Stopped.\r\n"; }));
  // The stopped group's end is where the next one would start: after it, none is sent.
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return mailbox.GroupsDone() == 2; }));
  EXPECT_FALSE(assistant->Busy());
  EXPECT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(display.responses.back(), u"Processing stopped by user.\r\nNumber of items: 7, processed: 3");
}

TEST_F(AiAssistantTest, NoNamesStillAskOnceAndClosingStopsAGroup) {
  server.AddReply(ChatTestServer::StreamOf({"nothing to do"}));
  auto assistant = Make({});
  ASSERT_TRUE(assistant->Send(u"rule", 10));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy(); }));
  EXPECT_EQ(display.responses[1], u"Start Processing (Groups: 0)");
  EXPECT_EQ(display.errors.back(), u"Processing complete.\r\nNumber of items: 0, processed: 0");
  const std::string user = nlohmann::json::parse(server.Requests().at(0).body)["messages"].back()["content"];
  EXPECT_EQ(user.substr(user.size() - 13), "JSON file.\n\n\n");  // the empty list is nothing
  EXPECT_EQ(user.find("filenames"), std::string::npos);

  server.AddReply(Stalled());
  ASSERT_TRUE(assistant->Send(u"rule", 10));
  ASSERT_TRUE(server.WaitForRequests(2, 30s));
  // The stalled answer never ends by itself: that closing returns at all shows it did not wait
  // for it, and the server sees the transfer given up.
  assistant.reset();  // as when the dialog closes
  EXPECT_TRUE(server.WaitUntilAnswersClosed(30s));
}

TEST_F(AiAssistantTest, EveryGroupsErrorStaysAboveTheSummary) {
  server.AddReply({401, "application/json", {R"({"error":"bad key"})"}});
  server.AddReply({500, "text/plain", {"overloaded"}});
  server.AddReply(GroupAnswer(2, 1));
  auto assistant = Make(test::NumberedPairs(3));
  ASSERT_TRUE(assistant->Send(u"rule", 1));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy() && server.Requests().size() == 3; }));
  EXPECT_EQ(display.errors.back(),
            u"Group 1: HTTP 401: bad key\r\nGroup 2: HTTP 500: overloaded\r\n"
            u"Processing complete.\r\nNumber of items: 3, processed: 1");
}

TEST_F(AiAssistantTest, ANameWithAnUndecodableByteIsSentReadablyAndMatchedBack) {
  const std::u16string undecodable = u"caf" + std::u16string(1, char16_t{0xDCE9}) + u".jpg";  // Latin-1 "é"
  server.AddReply(ChatTestServer::StreamOf(
      {"[{\"original\":\"caf\xEF\xBF\xBD.jpg\",\"renamed\":\"Cafe.jpg\"},{\"original\":\"b.jpg\",\"renamed\":\"B.jpg\"}]"}));
  auto assistant = Make({{undecodable, undecodable}, {u"b.jpg", u"b.jpg"}});
  ASSERT_TRUE(assistant->Send(u"rule", 10));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy(); }));
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string user = nlohmann::json::parse(server.Requests()[0].body)["messages"].back()["content"];
  EXPECT_NE(user.find("\"original\": \"caf\xEF\xBF\xBD.jpg\""), std::string::npos);
  EXPECT_NE(user.find("\"original\": \"b.jpg\""), std::string::npos);
  ASSERT_EQ(assistant->ParsedGroups().size(), 1u);
  EXPECT_EQ(assistant->ParsedGroups()[0], (std::vector<RenamePair>{{undecodable, u"Cafe.jpg"}, {u"b.jpg", u"B.jpg"}}));
}

// "a" + the byte 0x80 and a file really named "a\uFFFD.txt" are both sent as "a\uFFFD.txt": an
// answer for that text renames neither and says why. A file one group's answer names and another
// group's answer names again is one file processed.
TEST_F(AiAssistantTest, ATextSentForTwoNamesRenamesNeitherAndEachFileCountsOnce) {
  const std::u16string undecodable = u"a" + std::u16string(1, char16_t{0xDC80}) + u".txt";
  const std::u16string replacement = u"a\uFFFD.txt";
  const std::string sent = "a\xEF\xBF\xBD.txt";
  const auto answer = [&](std::initializer_list<std::pair<std::string, std::string>> pairs) {
    std::string list = "[";
    for (const auto& [original, renamed] : pairs) {
      if (list.size() > 1) list += ',';
      list += R"({"original":")";
      list += original;
      list += R"(","renamed":")";
      list += renamed;
      list += "\"}";
    }
    return ChatTestServer::StreamOf({list + "]"});
  };
  server.AddReply(answer({{sent, "first.txt"}, {"\xC3\xA9t\xC3\xA9.txt", "summer.txt"}}));
  server.AddReply(answer({{sent, "second.txt"}}));
  server.AddReply(answer({{"\xC3\xA9t\xC3\xA9.txt", "summer.txt"}}));
  auto assistant = Make({{undecodable, undecodable}, {replacement, replacement}, {u"\u00E9t\u00E9.txt", u"\u00E9t\u00E9.txt"}});
  ASSERT_TRUE(assistant->Send(u"rule", 1));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy() && server.Requests().size() == 3; }));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy() && assistant->ParsedGroups().size() == 3; }));

  const std::vector<std::vector<RenamePair>> expected{
      {{replacement, u"first.txt", Refusal::SharedOriginal}, {u"\u00E9t\u00E9.txt", u"summer.txt"}},
      {{replacement, u"second.txt", Refusal::SharedOriginal}},
      {{u"\u00E9t\u00E9.txt", u"summer.txt"}},
  };
  EXPECT_EQ(assistant->ParsedGroups(), expected);
  EXPECT_EQ(assistant->ParsedCount(), 1u);
  const std::u16string shared = replacement + u": not renamed, two files were sent under this name\r\n";
  EXPECT_EQ(display.json, shared + u"\u00E9t\u00E9.txt, summer.txt\r\n" + shared + u"\u00E9t\u00E9.txt, summer.txt\r\n");
  EXPECT_EQ(display.errors.back(), u"Processing complete.\r\nNumber of items: 3, processed: 1");
}

TEST_F(AiAssistantTest, StreamedPiecesAreAddedToTheResponseBoxOneByOne) {
  server.AddReply(ChatTestServer::StreamOf(std::vector<std::string>(2000, std::string(500, 'x'))));
  auto assistant = Make(test::NumberedPairs(1));
  display.keepEveryState = false;
  display.shownUnits = 0;
  ASSERT_TRUE(assistant->Send(u"rule", 10));
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy(); }, 60s));
  EXPECT_EQ(display.responses.back().size(), 1'000'000u);
  EXPECT_LT(display.shownUnits, 1'001'000u);
}

// An answer streamed in pieces of a few bytes reaches the box whole and in order, in far fewer
// additions than pieces while the dialog's thread is busy: pieces that wait are taken together.
TEST_F(AiAssistantTest, PiecesThatWaitForTheDialogAreShownTogether) {
  std::vector<std::string> pieces;
  std::string whole;
  for (int i = 0; i < 20000; ++i) {
    pieces.push_back(i % 3 == 0 ? "\xC3\xA9t\xC3\xA9" : i % 3 == 1 ? " \xF0\x9F\x98\x80" : "\n");
    whole += pieces.back();
  }
  server.AddReply(ChatTestServer::StreamOf(pieces));
  auto assistant = Make(test::NumberedPairs(1));
  display.keepEveryState = false;
  ASSERT_TRUE(assistant->Send(u"rule", 10));
  ASSERT_TRUE(mailbox.WaitForGroupEnd(30s));  // every piece read before the dialog looks
  ASSERT_TRUE(mailbox.PumpUntil(*assistant, [&] { return !assistant->Busy(); }, 60s));
  std::u16string expected;
  for (const char16_t u : FromUtf8(whole)) {
    if (u == u'\n') expected += u'\r';
    expected += u;
  }
  EXPECT_EQ(display.responses.back(), expected);
  EXPECT_EQ(display.appended, 0u) << "the whole answer was waiting: it is shown at once";
}

TEST_F(AiAssistantTest, TheTemplateIsEditedInTheJsonBoxAndSavedWhenChanged) {
  auto assistant = Make(test::NumberedPairs(1));
  EXPECT_EQ(assistant->Template(), DefaultTemplate());
  assistant->PressTemplate(u"");
  EXPECT_EQ(display.caption, u"Save");
  EXPECT_EQ(display.json, SerializeTemplate(DefaultTemplate()));

  assistant->PressTemplate(display.json);  // unchanged: nothing written
  EXPECT_EQ(display.caption, u"Template");
  EXPECT_EQ(display.json, u"Updated\r\n");
  EXPECT_EQ(fs.KindOf(u"/documents/Nomvarix/data/template.txt"), PathKind::Missing);

  assistant->PressTemplate(u"");
  assistant->PressTemplate(u"#SYSTEM:\r\nBe brief.\r\n");
  EXPECT_EQ(fs.KindOf(u"/documents/Nomvarix/data/template.txt"), PathKind::File);
  EXPECT_EQ(assistant->Template().systemText, u"Be brief.");
  EXPECT_EQ(assistant->Template().example1, u"");
  // The next dialog reads the saved template.
  auto next = Make(test::NumberedPairs(1));
  EXPECT_EQ(next->Template().systemText, u"Be brief.");
}

TEST_F(AiAssistantTest, ATemplateFileThatWasNotLoadedIsNeverOfferedForSaving) {
  const std::u16string path = u"/documents/Nomvarix/data/template.txt";
  ResolveDataFolders(fs);
  const std::string huge = "#SYSTEM:\r\nmine\r\n" + std::string(16 * 1024 * 1024, 'x');
  ASSERT_TRUE(fs.WriteWholeFile(path, huge));
  auto assistant = Make(test::NumberedPairs(1));
  EXPECT_EQ(assistant->Template(), DefaultTemplate());
  const auto saysTooLarge = [&] {
    return !display.errors.empty() && display.errors.back().find(u"larger than 16 MB") != std::u16string::npos;
  };
  EXPECT_TRUE(saysTooLarge());

  display.errors.clear();
  assistant->PressTemplate(u"");
  EXPECT_NE(display.caption, u"Save");
  EXPECT_TRUE(saysTooLarge()) << "said again";
  assistant->PressTemplate(u"#SYSTEM:\r\nBe brief.\r\n");
  EXPECT_EQ(fs.ReadWholeFile(path, huge.size()), huge) << "the user's file is left as it is";
  EXPECT_EQ(assistant->Template(), DefaultTemplate());
}

}  // namespace
}  // namespace nomvarix
