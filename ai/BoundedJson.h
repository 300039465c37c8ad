#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

namespace nomvarix {

/// How deep a value read from a chat server may nest. Answers and chunks need a handful of levels;
/// the limit keeps the recursive parts of the JSON library (destruction, dump, our own walks) far
/// from the end of a worker thread's stack.
inline constexpr int kMaxJsonDepth = 64;

/// `text` parsed as nlohmann::json::parse does (a json::exception for text that is not JSON, or,
/// without `allowExceptions`, a discarded value), except that every value nested deeper than
/// kMaxJsonDepth is left out, as if it were not there. The parser itself does not recurse.
nlohmann::json ParseBoundedJson(std::string_view text, bool allowExceptions = true);

}  // namespace nomvarix
