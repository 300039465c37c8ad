#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileIdentity.h"

namespace nomvarix {

/// One character cell of a line, laid out on the fixed grid. Cells are not stored with the lines:
/// they follow from a line's text, the scope, the font and the marked rectangle, and are laid out
/// only for the lines being drawn or looked at (NameEditor::LineCells).
struct GlyphCell {
  char16_t ch = 0;        ///< one UTF-16 code unit of the line's text
  bool selected = false;  ///< inside the selection
  bool changed = false;   ///< differs, by position, from the original name's part in the scope
  std::int32_t x = 0;     ///< pixel offset from the start of the line's text: index × charWidth
};
static_assert(sizeof(GlyphCell) == 8);

/// One listed file, which is one editor line.
struct NameEntry {
  std::u16string originalName;  ///< the name on disk; never edited
  std::u16string lineText;      ///< the part of newName the edit scope shows; what the user edits
  std::u16string newName;       ///< the full name the file is to receive
  bool errorMark = false;       ///< set by validation and applying on lines with a problem
  /// The file's identity when the folder was listed, so that an apply can tell a file put in its
  /// place since; not Known for a line that did not come from a listing.
  FileIdentity listedIdentity = {};
};

/// The editor's lines in the order of the last load. Editing never adds, removes or reorders them.
using NameList = std::vector<NameEntry>;

/// A line number that names no line of a list.
inline constexpr std::uint32_t kNoLine = UINT32_MAX;

}  // namespace nomvarix
