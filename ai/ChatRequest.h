#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ai/RequestPayload.h"

namespace nomvarix {

/// The chat-completions address of a server: the base URL with "/v1/chat/completions"; servers
/// whose base URL names "deepseek" take "/beta/chat/completions", and those naming "perplexity" or
/// "googleapis" "/chat/completions" (case-sensitive, joined without touching slashes).
std::string ChatEndpointUrl(std::string_view baseUrl);

/// A request body that could not be built, with the text to show for it.
struct RequestError {
  std::string text;
};

/// The JSON body of one streamed request, compact, keys in sorted order:
///
///   {"max_tokens":800,"messages":[{"content":"…","role":"user"}],"mode":"instruct",
///    "model":"…","stream":true}
///
/// "temperature" is added only when it is 0 or more. A message that is not valid UTF-8 makes the
/// body fail with "JSON Error: " and the serializer's reason.
std::variant<std::string, RequestError> BuildRequestBody(std::string_view model,
                                                         const std::vector<ChatMessage>& messages,
                                                         double temperature);

}  // namespace nomvarix
