#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ai/RequestPayload.h"

namespace nomvarix {

/// Where chat requests go and who makes them: the server's base URL (the endpoint path is added),
/// the model id and the bearer key.
struct ChatServer {
  std::string baseUrl;
  std::string model;
  std::string apiKey;
};

/// One streamed chat-completions request over HTTP(S). Messages are collected first; Chat() sends
/// them with the user's message, hands each piece of answer text to a callback as it arrives and
/// returns the whole answer. Failures are kept as a text (LastError), never thrown. Cancel() may be
/// called from any thread; the transfer then stops within about a second.
class LlmClient {
 public:
  using ChunkCallback = std::function<void(std::string_view piece)>;
  using DoneCallback = std::function<void(const std::string& answer, const std::string& error)>;

  explicit LlmClient(ChatServer server);

  /// Appends the messages that come before the user's (system text, examples).
  void AddMessages(const std::vector<ChatMessage>& messages);

  /// Sends the messages and `userText` (UTF-8) and waits for the whole answer, on the calling
  /// thread. `onChunk` gets each non-empty piece; `onDone` (when given) the answer and the error
  /// text at the end. The answer is empty after a transfer error (also after Cancel()). A
  /// temperature below 0 is not sent.
  std::string Chat(std::string_view userText, const ChunkCallback& onChunk, const DoneCallback& onDone,
                   double temperature);

  void Cancel() { cancel_ = true; }
  const std::string& LastError() const { return lastError_; }

 private:
  std::string Request(const ChunkCallback& onChunk, double temperature);

  ChatServer server_;
  std::vector<ChatMessage> messages_;
  std::string lastError_;
  std::atomic<bool> cancel_ = false;
};

}  // namespace nomvarix
