#pragma once

#include <wx/toplevel.h>

namespace nomvarix::test {

/// The dialog of type `Dialog` that the program shows now, or null.
template <class Dialog>
Dialog* ShownDialog() {
  for (wxWindow* window : wxTopLevelWindows) {
    if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsShown()) return dialog;
  }
  return nullptr;
}

}  // namespace nomvarix::test
