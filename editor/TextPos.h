#pragma once

#include <cstdint>

namespace nomvarix {

/// A line and a column; -1 in both means no position. A column is an index into the line's text,
/// 0 before its first character; it may lie beyond the end of a shorter line of a selection.
struct TextPos {
  std::int32_t line = -1;
  std::int32_t column = -1;

  bool operator==(const TextPos&) const = default;
};

}  // namespace nomvarix
