#include "ai/ChatRequest.h"

#include <nlohmann/json.hpp>

namespace nomvarix {

std::string ChatEndpointUrl(std::string_view baseUrl) {
  std::string url(baseUrl);
  if (baseUrl.find("deepseek") != std::string_view::npos) return url + "/beta/chat/completions";
  if (baseUrl.find("perplexity") != std::string_view::npos || baseUrl.find("googleapis") != std::string_view::npos) {
    return url + "/chat/completions";
  }
  return url + "/v1/chat/completions";
}

std::variant<std::string, RequestError> BuildRequestBody(std::string_view model,
                                                         const std::vector<ChatMessage>& messages,
                                                         double temperature) {
  // nlohmann::json keeps object members sorted by key, which gives the documented order.
  nlohmann::json body;
  body["model"] = std::string(model);
  body["messages"] = nlohmann::json::array();
  for (const ChatMessage& message : messages) {
    body["messages"].push_back({{"role", message.role}, {"content", message.content}});
  }
  body["mode"] = "instruct";
  if (temperature >= 0) body["temperature"] = temperature;
  body["max_tokens"] = 800;
  body["stream"] = true;
  try {
    return body.dump();
  } catch (const nlohmann::json::exception& error) {
    return RequestError{std::string("JSON Error: ") + error.what()};
  }
}

}  // namespace nomvarix
