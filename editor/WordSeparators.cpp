#include "editor/WordSeparators.h"

#include <algorithm>

#include "text/CharClass.h"

namespace nomvarix {

bool IsWordSeparator(char16_t ch) {
  return IsWhiteSpace(ch) || std::u16string_view(u"!\"'(),-.:;?_").find(ch) != std::u16string_view::npos;
}

std::int32_t WordStartBefore(std::u16string_view text, std::int32_t column) {
  const auto length = static_cast<std::int32_t>(text.size());
  const std::int32_t from = std::clamp(column, 0, length);
  std::int32_t start = from;
  while (start > 0 && !IsWordSeparator(text[static_cast<std::size_t>(start - 1)])) --start;
  return start == from ? std::max(from - 1, 0) : start;
}

std::int32_t WordEndAfter(std::u16string_view text, std::int32_t column) {
  const auto length = static_cast<std::int32_t>(text.size());
  const std::int32_t from = std::clamp(column, 0, length);
  std::int32_t end = from;
  while (end < length && !IsWordSeparator(text[static_cast<std::size_t>(end)])) ++end;
  return end == from ? std::min(from + 1, length) : end;
}

}  // namespace nomvarix
