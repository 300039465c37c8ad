#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace nomvarix {

class NameEditor;

/// Shown by "Right Align (Selection)" on a single line.
inline constexpr std::u16string_view kNeedsMultiLineSelection = u"Please make a multi-line selection first.";

/// "Right Align": leading spaces make every line end in the column of the longest, a column
/// caret stands after the text on every line, and the view scrolls to the text's right end. With
/// fewer than two lines only the undo step is taken. Returns how many lines were padded.
std::size_t RightAlignAll(NameEditor& editor);
/// The same for the selection's lines, without scrolling; nothing (nothing done) on one line.
std::optional<std::size_t> RightAlignSelection(NameEditor& editor);
/// "Trim Left": leading spaces (not tabs) removed from the selection's lines, or from every line,
/// a column caret at column 0 of those lines. "Trim Left" of every line also scrolls to column 0.
void TrimLeftSelection(NameEditor& editor);
void TrimLeftAll(NameEditor& editor);

}  // namespace nomvarix
