#pragma once

#include <cstdint>

#include "macro/KeyMacro.h"

class wxKeyEvent;

namespace nomvarix {

/// The Windows virtual-key code of a toolkit key code (WXK_* or a character), for the key that
/// makes it on a US layout; 0 for a key without one. Letters give their upper-case code.
int VirtualKeyOfWxKey(int wxKeyCode);

/// The character a key types on a US layout, with Shift or without; 0 for a key that types none.
char16_t CharacterOfKey(int virtualKey, bool shift);

/// The virtual-key code of the key with an X keyboard's key code (the evdev numbering) in the
/// main block of character keys, by its place on a US layout; 0 for any other key.
int VirtualKeyOfX11KeyCode(unsigned keyCode);

/// The virtual-key code of a key event: the raw code on Windows. Elsewhere VirtualKeyOfWxKey, but
/// a key that types a character other than a letter or a digit counts by its place on the
/// keyboard: its code is then the same with Shift or without, and on other layouts.
int VirtualKeyOf(const wxKeyEvent& event);

/// The keyboard's own code for the key of an event, the same for its press and its release.
std::uint32_t PhysicalKeyOf(const wxKeyEvent& event);

/// A key event as the macro records it.
KeyStroke KeyStrokeOf(const wxKeyEvent& event);

}  // namespace nomvarix
