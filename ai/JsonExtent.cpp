#include "ai/JsonExtent.h"

namespace nomvarix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

JsonExtent JsonEndScanner::Scan(std::string_view text) {
  std::size_t& i = next_;
  if (!started_) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return {JsonExtent::Kind::Incomplete, 0};
    if (text[i] != '{' && text[i] != '[') return {JsonExtent::Kind::NotJson, 0};
    started_ = true;
  }
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (escaped_) {
      escaped_ = false;
      continue;
    }
    if (c == '\\') {
      escaped_ = true;
    } else if (c == '"') {
      inString_ = !inString_;
    } else if (!inString_) {
      if (c == '{') ++objects_;
      if (c == '[') ++arrays_;
      if (c == '}' || c == ']') {
        (c == '}' ? objects_ : arrays_) -= 1;
        if (objects_ < 0 || arrays_ < 0) return {JsonExtent::Kind::NotJson, 0};
        if (objects_ == 0 && arrays_ == 0) return {JsonExtent::Kind::Found, i + 1};
      }
    }
  }
  return {JsonExtent::Kind::Incomplete, 0};
}

}  // namespace nomvarix
