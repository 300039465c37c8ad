#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace nomvarix::test {

/// A chat-completions server on 127.0.0.1 for the tests: each request gets the next scripted
/// reply, sent block by block as they are written, and is kept for the test to look at.
class ChatTestServer {
 public:
  struct Reply {
    int status = 200;
    std::string contentType = "text/event-stream";
    /// Sent one after the other (chunked), each `delay` after the one before.
    std::vector<std::string> blocks;
    std::chrono::milliseconds delay{0};
    /// After the blocks, keep the answer open (sending only keep-alive comments) until the client
    /// goes away or the server stops.
    bool stall = false;
    /// When set, the blocks from this index on are held until the test calls OpenGate(): the test
    /// sees the answer so far for as long as it needs.
    std::optional<std::size_t> gateBefore = std::nullopt;
  };
  struct Request {
    std::string path;
    std::string body;
    std::string authorization;
  };

  /// Listens on a free port of 127.0.0.1.
  ChatTestServer();
  ~ChatTestServer();
  ChatTestServer(const ChatTestServer&) = delete;
  ChatTestServer& operator=(const ChatTestServer&) = delete;

  /// "http://127.0.0.1:<port>".
  std::string BaseUrl() const;
  /// Replies are used in the order given; when they run out, the last one is used again.
  void AddReply(Reply reply);
  std::vector<Request> Requests() const;
  /// Waits until `count` requests have arrived; false when `limit` passed first.
  bool WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const;
  /// How many answers are still being sent (a stalled one counts until its client leaves).
  int OpenAnswers() const { return openAnswers_; }
  /// Waits until no answer is being sent any more; false when `limit` passed first.
  bool WaitUntilAnswersClosed(std::chrono::milliseconds limit) const;
  /// Lets every answer held at its gate go on.
  void OpenGate();

  /// An event stream with one "data:" event per piece of content, then "[DONE]".
  static Reply StreamOf(const std::vector<std::string>& pieces);
  /// A fixture file: an event stream as it stands, or, for files that start with "HTTP <status>",
  /// that status with the headers' content type and the body after the blank line.
  static Reply FixtureReply(const std::string& fileText);

 private:
  Reply NextReply();
  /// Blocks until the gate is open or the server stops; false when it stops.
  bool PassGate();

  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_ = false;
  std::atomic<int> openAnswers_ = 0;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  mutable std::condition_variable changed_;
  bool gateOpen_ = false;
  std::deque<Reply> replies_;
  Reply lastReply_;
  std::vector<Request> requests_;
};

}  // namespace nomvarix::test
