#include "editor/EditScope.h"

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

std::u16string WithScopedPart(std::u16string_view name, EditScope scope, std::u16string_view part) {
  const SplitName split = SplitAtLastDot(name);
  std::u16string out;
  switch (scope) {
    case EditScope::BaseName:
      out.reserve(part.size() + split.dotExt.size());
      out.append(part).append(split.dotExt);
      return out;
    case EditScope::Extension:
      out.reserve(split.base.size() + part.size());
      out.append(split.base).append(part);
      return out;
    case EditScope::WholeName:
      break;
  }
  return std::u16string(part);
}

}  // namespace nomvarix
