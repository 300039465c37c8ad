#pragma once

#include <cstdint>

namespace nomvarix {

/// The only selection: a rectangle of lines [startLine, endLine] (inclusive) and columns
/// [startColumn, endColumn) (half-open). All four are -1 for none. Zero width over one line is a
/// plain caret, over several lines a column caret; with width it is a block of characters.
///
///   lines 0..2, columns 1..3 over "abcd", "a", "wxyz" selects "bc", nothing, "xy".
struct BlockSelection {
  std::int32_t startLine = -1;
  std::int32_t endLine = -1;
  std::int32_t startColumn = -1;
  std::int32_t endColumn = -1;

  bool operator==(const BlockSelection&) const = default;

  bool IsNone() const { return startColumn == -1 && endColumn == -1; }
  bool HasWidth() const { return startColumn != endColumn; }
  bool IsMultiLine() const { return startLine != endLine; }
  /// Nothing selected: one line and zero width.
  bool IsEmpty() const { return !IsMultiLine() && !HasWidth(); }
};

}  // namespace nomvarix
