#pragma once

class wxKeyEvent;

namespace nomvarix {

/// The Windows virtual-key code of a toolkit key code (WXK_* or a character), for the key that
/// makes it on a US layout; 0 for a key without one. Letters give their upper-case code.
int VirtualKeyOfWxKey(int wxKeyCode);

/// The character a key types on a US layout, with Shift or without; 0 for a key that types none.
char16_t CharacterOfKey(int virtualKey, bool shift);

/// The virtual-key code of a key event: the raw code on Windows, VirtualKeyOfWxKey elsewhere.
int VirtualKeyOf(const wxKeyEvent& event);

}  // namespace nomvarix
