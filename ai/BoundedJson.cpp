#include "ai/BoundedJson.h"

namespace nomvarix {

nlohmann::json ParseBoundedJson(std::string_view text, bool allowExceptions) {
  return nlohmann::json::parse(
      text, [](int depth, nlohmann::json::parse_event_t, nlohmann::json&) { return depth <= kMaxJsonDepth; },
      allowExceptions);
}

}  // namespace nomvarix
