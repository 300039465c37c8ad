#include "ai/LlmClient.h"

#include <memory>
#include <variant>

#include <curl/curl.h>

#include "ai/ChatRequest.h"
#include "ai/ChatStreamReader.h"

namespace nomvarix {
namespace {

struct EasyHandleDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyHandleDeleter>;
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

/// What the transfer callbacks share with the request.
struct StreamContext {
  CURL* handle;
  ChatStreamReader reader;
  bool statusKnown = false;
};

std::size_t OnWrite(char* data, std::size_t size, std::size_t count, void* userData) {
  auto* context = static_cast<StreamContext*>(userData);
  const std::size_t bytes = size * count;
  if (!context) return bytes;
  if (!context->statusKnown) {
    long status = 0;
    curl_easy_getinfo(context->handle, CURLINFO_RESPONSE_CODE, &status);
    context->reader.SetStatus(status);
    context->statusKnown = true;
  }
  context->reader.Receive(std::string_view(data, bytes));
  return context->reader.GaveUp() ? 0 : bytes;  // 0 ends the transfer
}

int OnProgress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* cancel = static_cast<const std::atomic<bool>*>(userData);
  return cancel && cancel->load() ? 1 : 0;
}

HeaderList AppendHeader(HeaderList list, const std::string& header) {
  curl_slist* longer = curl_slist_append(list.get(), header.c_str());
  if (!longer) return list;
  list.release();
  return HeaderList(longer);
}

/// What a failed transfer means to the user: a stop they asked for, or a server that is not there
/// (with the address tried), else the transfer library's own words.
std::string TransferErrorText(CURLcode result, const std::string& url, bool stopped) {
  switch (result) {
    case CURLE_ABORTED_BY_CALLBACK:
      if (stopped) return "Stopped.";
      break;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_OPERATION_TIMEDOUT:
      return std::string(curl_easy_strerror(result)) + " at " + url +
             ". Check that a chat server runs there and that LLM Settings name its address.";
    default:
      break;
  }
  return curl_easy_strerror(result);
}

}  // namespace

LlmClient::LlmClient(ChatServer server) : server_(std::move(server)) {}

void LlmClient::AddMessages(const std::vector<ChatMessage>& messages) {
  messages_.insert(messages_.end(), messages.begin(), messages.end());
}

std::string LlmClient::Chat(std::string_view userText, const ChunkCallback& onChunk, const DoneCallback& onDone,
                            double temperature) {
  lastError_.clear();
  cancel_ = false;
  messages_.push_back({"user", std::string(userText)});
  const std::string answer = Request(onChunk, temperature);
  if (onDone) onDone(answer, lastError_);
  return answer;
}

std::string LlmClient::Request(const ChunkCallback& onChunk, double temperature) {
  const EasyHandle handle(curl_easy_init());
  if (!handle) {
    lastError_ = "Failed to initialize CURL";
    return {};
  }
  auto body = BuildRequestBody(server_.model, messages_, temperature);
  if (const auto* error = std::get_if<RequestError>(&body)) {
    lastError_ = error->text;
    return {};
  }
  const std::string& json = std::get<std::string>(body);
  const std::string url = ChatEndpointUrl(server_.baseUrl);
  HeaderList headers = AppendHeader(HeaderList(), "Content-Type: application/json");
  headers = AppendHeader(std::move(headers), "Authorization: Bearer " + server_.apiKey);
  headers = AppendHeader(std::move(headers), "Accept: text/event-stream");
  StreamContext context{handle.get(), ChatStreamReader(onChunk, &cancel_)};

  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, json.c_str());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(json.size()));
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnWrite);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &context);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 102400L);
  curl_easy_setopt(curl, CURLOPT_TCP_NODELAY, 1L);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPIDLE, 120L);
  curl_easy_setopt(curl, CURLOPT_TCP_KEEPINTVL, 60L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 0L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &cancel_);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
  // The transfer runs on a worker thread: no signals for name-lookup timeouts.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);

  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK) {
    lastError_ = context.reader.GaveUp() ? context.reader.LastError() : TransferErrorText(result, url, cancel_);
    return {};
  }
  // An answer without a body never reached OnWrite.
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  context.reader.SetStatus(status);
  context.reader.Finish();
  lastError_ = context.reader.LastError();
  return context.reader.Answer();
}

}  // namespace nomvarix
