#include "platform/ThunarActionList.h"

#include "platform/FileManagerEntries.h"

namespace nomvarix {
namespace {

constexpr std::string_view kOpen = "<action>";
constexpr std::string_view kClose = "</action>";

/// The span of our action in `list`, taken with the indentation before it and the line break after
/// it; npos for none.
struct Span {
  std::size_t begin = std::string_view::npos;
  std::size_t end = std::string_view::npos;
};

Span FindOurAction(std::string_view list) {
  const std::string id = std::string("<unique-id>") + kThunarActionId + "</unique-id>";
  for (std::size_t open = list.find(kOpen); open != std::string_view::npos; open = list.find(kOpen, open + 1)) {
    const std::size_t close = list.find(kClose, open);
    if (close == std::string_view::npos) return {};
    if (list.substr(open, close - open).find(id) == std::string_view::npos) continue;
    Span span{open, close + kClose.size()};
    while (span.begin > 0 && (list[span.begin - 1] == ' ' || list[span.begin - 1] == '\t')) --span.begin;
    if (span.end < list.size() && list[span.end] == '\n') ++span.end;
    return span;
  }
  return {};
}

}  // namespace

std::optional<std::string> WithThunarAction(std::string_view list, std::string_view action) {
  std::string result = WithoutThunarAction(list.empty() ? kEmptyThunarActionList : list);
  constexpr std::string_view kEmptyElement = "<actions/>";
  if (const std::size_t at = result.rfind(kEmptyElement); at != std::string::npos &&
                                                            result.find("</actions>") == std::string::npos) {
    result.replace(at, kEmptyElement.size(), "<actions>\n</actions>");
  }
  const std::size_t end = result.rfind("</actions>");
  if (end == std::string::npos || result.find("<actions") == std::string::npos) return std::nullopt;
  std::size_t lineStart = end;
  while (lineStart > 0 && (result[lineStart - 1] == ' ' || result[lineStart - 1] == '\t')) --lineStart;
  const std::string separator = lineStart > 0 && result[lineStart - 1] != '\n' ? "\n" : "";
  result.insert(lineStart, separator + std::string(action));
  return result;
}

std::string WithoutThunarAction(std::string_view list) {
  std::string result(list);
  for (Span span = FindOurAction(result); span.begin != std::string::npos; span = FindOurAction(result)) {
    result.erase(span.begin, span.end - span.begin);
  }
  return result;
}

}  // namespace nomvarix
