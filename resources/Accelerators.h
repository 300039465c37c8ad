#pragma once

#include <optional>

#include <wx/accel.h>

namespace nomvarix {

/// The main window's accelerator keys: the clipboard keys in both their Ctrl and their
/// Shift/Ctrl+Insert forms, undo (also Alt+Backspace), redo, find, print, and F6 / Shift+F6 for
/// the panes.
wxAcceleratorTable CreateAccelerators();

/// The command of an accelerator key given as a virtual-key code and its modifiers; empty when the
/// key is none. Macro playback without the system's input stream uses it.
std::optional<int> AcceleratorCommand(int virtualKey, bool shift, bool ctrl, bool alt);

}  // namespace nomvarix
