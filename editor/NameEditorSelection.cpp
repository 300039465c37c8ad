// The selection rectangle, the caret and the marked cells.
#include <algorithm>

#include "editor/NameEditor.h"

namespace nomvarix {

std::int32_t NameEditor::LineLength(std::int32_t line) const {
  return IsLine(line) ? static_cast<std::int32_t>(names_[static_cast<std::size_t>(line)].lineText.size()) : 0;
}

void NameEditor::SetSelection(const BlockSelection& selection, TextPos caret) {
  selection_ = selection;
  caret_ = caret;
  ClampSelection();
  MarkSelectionCells();
}

void NameEditor::ClampSelection() {
  if (names_.empty()) {
    selection_ = {};
    caret_ = {};
    return;
  }
  const auto last = static_cast<std::int32_t>(names_.size()) - 1;
  selection_.startLine = std::clamp(selection_.startLine, 0, last);
  selection_.endLine = std::clamp(selection_.endLine, 0, last);
  const std::int32_t widest = WidestLineInRange(selection_.startLine, selection_.endLine);
  selection_.startColumn = std::clamp(selection_.startColumn, 0, widest);
  selection_.endColumn = std::clamp(selection_.endColumn, 0, widest);
  caret_.line = std::clamp(caret_.line, selection_.startLine, selection_.endLine);
  caret_.column = std::clamp(caret_.column, selection_.startColumn, selection_.endColumn);
}

std::int32_t NameEditor::WidestLineInRange(std::int32_t first, std::int32_t last) const {
  const std::int32_t from = std::max(first, 0);
  const std::int32_t to = std::min(last, static_cast<std::int32_t>(names_.size()) - 1);
  // The whole list (a column caret over every line) is what the cache holds.
  if (from == 0 && to == static_cast<std::int32_t>(names_.size()) - 1 && to >= 0) return LongestLineLength();
  return MeasureWidestLine(from, to);
}

std::int32_t NameEditor::MeasureWidestLine(std::int32_t from, std::int32_t to) const {
  std::int32_t widest = 0;
  for (std::int32_t line = from; line <= to; ++line) widest = std::max(widest, LineLength(line));
  return widest;
}

std::int32_t NameEditor::LongestLineLength() const {
  if (!longestLineValid_) {
    longestLine_ = MeasureWidestLine(0, static_cast<std::int32_t>(names_.size()) - 1);
    longestLineValid_ = true;
  }
  return longestLine_;
}

void NameEditor::ClearAllMarks() { marked_ = {}; }

void NameEditor::MarkRectangle(std::int32_t first, std::int32_t last, std::int32_t from, std::int32_t to) {
  marked_ = {};
  if (from < 0 || to <= from) return;
  marked_ = {std::max(first, 0), std::min(last, static_cast<std::int32_t>(names_.size()) - 1), from, to};
}

bool NameEditor::LineHasMarks(std::int32_t line) const {
  return line >= marked_.first && line <= marked_.last && marked_.from < LineLength(line);
}

bool NameEditor::IsMarked(std::int32_t line, std::int32_t column) const {
  return LineHasMarks(line) && column >= marked_.from && column < marked_.to && column < LineLength(line);
}

void NameEditor::MarkSelectionCells() {
  MarkRectangle(selection_.startLine, selection_.endLine, selection_.startColumn, selection_.endColumn);
}

void NameEditor::MarkColumnsOnAllLines(std::int32_t a, std::int32_t b) {
  MarkRectangle(0, static_cast<std::int32_t>(names_.size()) - 1, std::min(a, b), std::max(a, b));
}

void NameEditor::MarkDragRectangle(std::int32_t line, std::int32_t column) {
  MarkRectangle(std::min(dragAnchor_.line, line), std::max(dragAnchor_.line, line),
                std::min(dragAnchor_.column, column), std::max(dragAnchor_.column, column));
}

TextPos NameEditor::PositionFromPoint(std::int32_t x, std::int32_t y) const {
  TextPos position;
  if (names_.empty()) return position;
  const std::int32_t lineHeight = std::max(metrics_.lineHeight, 1);
  const std::int32_t line = y < metrics_.textTop ? 0 : (y - metrics_.textTop) / lineHeight + topLine_;
  position.line = std::clamp(line, 0, static_cast<std::int32_t>(names_.size()) - 1);
  if (x > metrics_.dividerX) {
    const std::int32_t offset = x - metrics_.dividerX - metrics_.textMargin;
    const std::int32_t column = offset < 0 ? leftColumn_ : offset / std::max(metrics_.charWidth, 1) + leftColumn_;
    position.column = std::max(column, MinColumn());
  } else {
    position.column = MinColumn();
  }
  return position;
}

bool NameEditor::SelectAll() {
  if (names_.empty()) return false;
  const auto last = static_cast<std::int32_t>(names_.size()) - 1;
  const std::int32_t longest = LongestLineLength();
  selection_ = {0, last, 0, longest};
  caret_ = {last, longest};
  ClampSelection();
  MarkSelectionCells();
  ScrollLineIntoView(last);
  return true;
}

}  // namespace nomvarix
