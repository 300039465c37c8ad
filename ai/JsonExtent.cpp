#include "ai/JsonExtent.h"

namespace nomvarix {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

JsonExtent FindJsonEnd(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i == text.size()) return {JsonExtent::Kind::Incomplete, 0};
  if (text[i] != '{' && text[i] != '[') return {JsonExtent::Kind::NotJson, 0};
  bool inString = false;
  bool escaped = false;
  int objects = 0;
  int arrays = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (escaped) {
      escaped = false;
      continue;
    }
    if (c == '\\') {
      escaped = true;
    } else if (c == '"') {
      inString = !inString;
    } else if (!inString) {
      if (c == '{') ++objects;
      if (c == '[') ++arrays;
      if (c == '}' || c == ']') {
        (c == '}' ? objects : arrays) -= 1;
        if (objects < 0 || arrays < 0) return {JsonExtent::Kind::NotJson, 0};
        if (objects == 0 && arrays == 0) return {JsonExtent::Kind::Found, i + 1};
      }
    }
  }
  return {JsonExtent::Kind::Incomplete, 0};
}

}  // namespace nomvarix
