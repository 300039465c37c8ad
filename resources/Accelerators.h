#pragma once

#include <wx/accel.h>

namespace nomvarix {

/// The main window's accelerator keys: the clipboard keys in both their Ctrl and their
/// Shift/Ctrl+Insert forms, undo (also Alt+Backspace), redo, find, and F6 / Shift+F6 for the panes.
wxAcceleratorTable CreateAccelerators();

}  // namespace nomvarix
