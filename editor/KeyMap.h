#pragma once

#include <optional>

#include "editor/CaretMovement.h"

namespace nomvarix {

/// What a key pressed in the editor does, before the state of Shift is looked at.
enum class KeyAction {
  None,
  SelectAll,
  Copy,
  Paste,
  Cut,
  Undo,
  Redo,
  Find,
  FindSelected,  ///< Ctrl+F3: search for the selected text
  FindNext,      ///< F3
  Backspace,
  Delete,
  CornerJump,    ///< Tab
  Move,          ///< one of the caret keys
};

struct KeyMeaning {
  KeyAction action = KeyAction::None;
  CaretKey caretKey = CaretKey::Left;  ///< for Move
};

/// The editor's key map, for a Windows virtual-key code and whether Ctrl is down. Ctrl with a key
/// that has no Ctrl entry means the plain key (Ctrl+Home is Home, Ctrl+Backspace is Backspace).
KeyMeaning MeaningOfKey(int virtualKey, bool ctrl);

/// Whether the key's handling ends at once, without the caret blink restart and repaint that
/// follow every other key (the Ctrl entries and F3).
bool EndsAtOnce(KeyAction action);

}  // namespace nomvarix
