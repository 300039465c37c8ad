#include "platform/LineEnds.h"

namespace nomvarix {

std::u16string ToLfLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

std::u16string ToCrLfLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 8);
  bool afterCr = false;
  AppendWithCrLfLineEnds(out, text, afterCr);
  return out;
}

void AppendWithCrLfLineEnds(std::u16string& out, std::u16string_view part, bool& afterCr) {
  for (const char16_t unit : part) {
    if (unit == u'\n' && !afterCr) out.push_back(u'\r');
    out.push_back(unit);
    afterCr = unit == u'\r';
  }
}

}  // namespace nomvarix
