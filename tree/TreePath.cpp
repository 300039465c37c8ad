#include "tree/TreePath.h"

#include "platform/Path.h"
#include "text/AsciiCase.h"

namespace nomvarix {

std::u16string TreeItemPath(const std::vector<std::u16string>& textsFromTop) {
  std::u16string path;
  for (const std::u16string& text : textsFromTop) {
    path += text;
    if (path.empty() || !IsPathSeparator(path.back())) path.push_back(kPathSeparator);
  }
  return path;
}

std::vector<std::u16string> TreePathComponents(std::u16string_view path) {
  std::vector<std::u16string> components;
  std::size_t rest = 0;
  if (path.size() >= 3 && path[1] == u':' && IsPathSeparator(path[2])) {
    components.push_back(std::u16string(path.substr(0, 2)) + kPathSeparator);
    rest = 3;
  } else if (!path.empty() && path[0] == u'/' && kPathSeparator == u'/') {
    components.emplace_back(u"/");
    rest = 1;
  } else {
    return components;
  }
  while (rest < path.size()) {
    std::size_t end = rest;
    while (end < path.size() && !IsPathSeparator(path[end])) ++end;
    if (end > rest) components.emplace_back(path.substr(rest, end - rest));
    rest = end + 1;
  }
  return components;
}

int MatchingItem(const std::vector<std::u16string>& texts, std::u16string_view component) {
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i] == component) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (EqualsFolded(texts[i], component)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace nomvarix
