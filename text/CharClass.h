#pragma once

#include <string_view>

namespace nomvarix {

// Character classes of one UTF-16 code unit, from the Unicode character database: the answers do
// not depend on the process locale (which the GUI toolkit changes). A surrogate code unit is in no
// class.

/// Unicode white space: the separators (Zs, Zl, Zp), TAB, LF, VT, FF, CR, U+001C..U+001F, U+0085.
bool IsWhiteSpace(char16_t u);
/// An upper-case letter (general category Lu).
bool IsUpperCase(char16_t u);
/// A decimal digit of any script (general category Nd).
bool IsDigit(char16_t u);
/// A letter of any category (L*) or a decimal digit.
bool IsAlphanumeric(char16_t u);

/// A control character: C0 (U+0000..U+001F), DEL (U+007F) or C1 (U+0080..U+009F). It draws as
/// nothing (or breaks the line) and has no place in a name one types.
constexpr bool IsControlCharacter(char16_t u) { return u < 0x20 || (u >= 0x7F && u <= 0x9F); }
/// What a name's character is drawn as: a control character as a visible symbol (its picture
/// U+2400..U+241F for C0, U+2421 for DEL, U+FFFD for C1), so that a CR or LF on disk never breaks
/// the row; any other character as itself.
constexpr char16_t ShownCharacter(char16_t u) {
  if (u < 0x20) return static_cast<char16_t>(0x2400 + u);
  if (u == 0x7F) return u'\u2421';
  if (u >= 0x80 && u <= 0x9F) return u'\uFFFD';
  return u;
}

/// A character that bidirectional text layout may move away from the place it has in the text:
/// one of a right-to-left script, an Arabic-Indic digit, or an explicit direction mark, embedding,
/// override or isolate. Text drawn in one piece is laid out visually around such characters.
bool MovesInBidiLayout(char16_t u);

/// `text` without the white space (IsWhiteSpace) at its two ends.
std::u16string_view TrimmedWhiteSpace(std::u16string_view text);

}  // namespace nomvarix
