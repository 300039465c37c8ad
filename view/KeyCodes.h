#pragma once

class wxKeyEvent;

namespace nomvarix {

/// The Windows virtual-key code of a toolkit key code (WXK_* or a character), for the key that
/// makes it on a US layout; 0 for a key without one. Letters give their upper-case code.
int VirtualKeyOfWxKey(int wxKeyCode);

/// The virtual-key code of a key event: the raw code on Windows, VirtualKeyOfWxKey elsewhere.
int VirtualKeyOf(const wxKeyEvent& event);

}  // namespace nomvarix
