#include "editor/EditScope.h"

#include <algorithm>

#include "editor/NameSplit.h"

namespace nomvarix {

std::u16string_view ScopedPart(std::u16string_view name, EditScope scope) {
  switch (scope) {
    case EditScope::BaseName:
      return SplitAtLastDot(name).base;
    case EditScope::Extension:
      return SplitAtLastDot(name).dotExt;
    case EditScope::WholeName:
      break;
  }
  return name;
}

bool ShowsPartOf(std::u16string_view name, EditScope scope, std::u16string_view shown) {
  switch (scope) {
    case EditScope::BaseName:
      return name.starts_with(shown);
    case EditScope::Extension:
      return name.ends_with(shown);
    case EditScope::WholeName:
      break;
  }
  return name == shown;
}

void ReplaceShownPart(std::u16string& name, EditScope scope, std::size_t shownLength, std::u16string_view part) {
  shownLength = std::min(shownLength, name.size());
  switch (scope) {
    case EditScope::BaseName:
      name.replace(0, shownLength, part);
      return;
    case EditScope::Extension:
      name.replace(name.size() - shownLength, shownLength, part);
      return;
    case EditScope::WholeName:
      break;
  }
  name.assign(part);
}

}  // namespace nomvarix
