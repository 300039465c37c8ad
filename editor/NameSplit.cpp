#include "editor/NameSplit.h"

namespace nomvarix {

SplitName SplitAtLastDot(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

std::u16string_view ExtensionOf(std::u16string_view name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot + 1);
}

}  // namespace nomvarix
