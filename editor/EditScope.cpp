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

void AssignScopedPart(std::u16string& name, EditScope scope, std::u16string_view part) {
  switch (scope) {
    case EditScope::BaseName:
      name.replace(0, SplitAtLastDot(name).base.size(), part);
      return;
    case EditScope::Extension:
      name.replace(SplitAtLastDot(name).base.size(), std::u16string::npos, part);
      return;
    case EditScope::WholeName:
      break;
  }
  name.assign(part);
}

}  // namespace nomvarix
