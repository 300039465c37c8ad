#pragma once

namespace nomvarix {

class NameEditor;

/// The keys that move the caret.
enum class CaretKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

/// Moves the caret, or with `shift` grows or shrinks the rectangle, as `key` does for the
/// selection's shape, then scrolls so the moved edge shows. With `ctrl`, Left and Right jump over a
/// word. The result is clamped into the lines; the marks follow the new rectangle. With lines but
/// no caret, Left, Right, Down, PageUp and PageDown make one. Returns whether the editor scrolled.
bool MoveCaret(NameEditor& editor, CaretKey key, bool shift, bool ctrl);

/// Tab: the caret goes to the rectangle's opposite corner. Nothing for no caret or a plain caret;
/// false then.
bool JumpToOppositeCorner(NameEditor& editor);

}  // namespace nomvarix
