#include "support/ChatTestServer.h"

#include <sstream>

#include <httplib.h>
#include <nlohmann/json.hpp>

namespace nomvarix::test {

ChatTestServer::ChatTestServer() : server_(std::make_unique<httplib::Server>()) {
  server_->Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back({request.path, request.body, request.get_header_value("Authorization")});
    }
    arrived_.notify_all();
    const Reply reply = NextReply();
    response.status = reply.status;
    if (reply.status >= 400 || reply.contentType != "text/event-stream") {
      std::string body;
      for (const std::string& block : reply.blocks) body += block;
      response.set_content(body, reply.contentType.c_str());
      return;
    }
    ++openAnswers_;
    response.set_chunked_content_provider(reply.contentType, [this, reply](std::size_t, httplib::DataSink& sink) {
      for (std::size_t i = 0; i < reply.blocks.size(); ++i) {
        if (i == reply.gateBefore && !PassGate()) return false;
        std::this_thread::sleep_for(reply.delay);
        const std::string& block = reply.blocks[i];
        if (stopping_ || !sink.write(block.data(), block.size())) return false;
      }
      while (reply.stall && !stopping_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!sink.write(": keep-alive\n\n", 14)) return false;
      }
      sink.done();
      return true;
    }, [this](bool) {
      {
        const std::lock_guard lock(mutex_);
        --openAnswers_;
      }
      changed_.notify_all();
    });
  });
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::yield();
}

ChatTestServer::~ChatTestServer() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  server_->stop();
  thread_.join();
}

std::string ChatTestServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

void ChatTestServer::AddReply(Reply reply) {
  const std::lock_guard lock(mutex_);
  replies_.push_back(std::move(reply));
}

ChatTestServer::Reply ChatTestServer::NextReply() {
  const std::lock_guard lock(mutex_);
  if (!replies_.empty()) {
    lastReply_ = std::move(replies_.front());
    replies_.pop_front();
  }
  return lastReply_;
}

void ChatTestServer::OpenGate() {
  {
    const std::lock_guard lock(mutex_);
    gateOpen_ = true;
  }
  changed_.notify_all();
}

bool ChatTestServer::PassGate() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return gateOpen_ || stopping_; });
  return !stopping_;
}

bool ChatTestServer::WaitUntilAnswersClosed(std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [&] { return openAnswers_ == 0; });
}

std::vector<ChatTestServer::Request> ChatTestServer::Requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

bool ChatTestServer::WaitForRequests(std::size_t count, std::chrono::milliseconds limit) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, limit, [&] { return requests_.size() >= count; });
}

ChatTestServer::Reply ChatTestServer::StreamOf(const std::vector<std::string>& pieces) {
  Reply reply;
  for (const std::string& piece : pieces) {
    const nlohmann::json chunk = {{"choices", {{{"index", 0}, {"delta", {{"content", piece}}}}}}};
    reply.blocks.push_back("data: " + chunk.dump() + "\n\n");
  }
  reply.blocks.push_back("data: [DONE]\n\n");
  return reply;
}

ChatTestServer::Reply ChatTestServer::FixtureReply(const std::string& fileText) {
  Reply reply;
  if (fileText.rfind("HTTP ", 0) != 0) {
    reply.blocks = {fileText};
    return reply;
  }
  reply.status = std::stoi(fileText.substr(5, 3));
  const std::size_t bodyStart = fileText.find("\n\n");
  std::istringstream headers(fileText.substr(0, bodyStart));
  for (std::string line; std::getline(headers, line);) {
    if (line.rfind("Content-Type: ", 0) == 0) reply.contentType = line.substr(14);
  }
  reply.blocks = {bodyStart == std::string::npos ? std::string() : fileText.substr(bodyStart + 2)};
  return reply;
}

}  // namespace nomvarix::test
